// tarvik-kxv-library: manages the game's puzzle library from the command line.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#include "cli/Commands.h"
#include "cli/Folder.h"

namespace {

std::string executablePath(const char* argv0) {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !path.empty()) return path.string();
    return argv0 != nullptr ? argv0 : "";
}

bool optionAllowed(const cli::Command& command, const std::string& option) {
    if (option == "--dir" || option == "--help" || option == "--version") return true;
    for (const auto& o : command.options) {
        if (o == option) return true;
    }
    return false;
}

int usageError(const std::string& message) {
    cli::complain(message);
    cli::complain("see tarvik-kxv-library --help");
    return cli::kExitUsage;
}

int run(int argc, char** argv) {
    cli::Context context;
    std::string error;
    if (!cli::parseArguments(argc, argv, context.args, error)) return usageError(error);
    const cli::Arguments& args = context.args;

    if (args.has("--version")) {
        return cli::writeOut("tarvik-kxv-library " TARVIK_VERSION "\n") ? cli::kExitOk : cli::kExitFailed;
    }

    if (args.command.empty() || args.command == "help") {
        const cli::Command* about = args.operands.empty() ? nullptr : cli::findCommand(args.operands[0]);
        if (about != nullptr) {
            cli::writeOut(std::string("Usage: tarvik-kxv-library [--dir DIR] ") + about->synopsis + "\n\n" + about->help);
            return cli::kExitOk;
        }
        if (args.command.empty() && !args.has("--help")) {
            cli::complain("no command given");
            std::fputs(cli::generalHelp().c_str(), stderr);
            return cli::kExitUsage;
        }
        cli::writeOut(cli::generalHelp());
        return cli::kExitOk;
    }

    const cli::Command* command = cli::findCommand(args.command);
    if (command == nullptr) return usageError("unknown command " + args.command);
    if (args.has("--help")) {
        cli::writeOut(std::string("Usage: tarvik-kxv-library [--dir DIR] ") + command->synopsis + "\n\n" +
                      command->help);
        return cli::kExitOk;
    }
    for (const auto& [option, value] : args.options) {
        if (!optionAllowed(*command, option)) return usageError(args.command + " takes no option " + option);
    }
    if (args.operands.size() < command->minOperands || args.operands.size() > command->maxOperands)
        return usageError(std::string("usage: tarvik-kxv-library ") + command->synopsis);
    if (args.has("--dir") && args.value("--dir").empty()) return usageError("--dir needs a folder");

    context.paths = cli::locateFolder(args.value("--dir"), executablePath(argc > 0 ? argv[0] : nullptr));
    return command->run(context);
}

}  // namespace

// Whatever goes wrong ends in a message and exit 1, never in an abort; a
// change is written whole in one step or not at all.
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        cli::complain("out of memory");
    } catch (const std::exception& e) {
        cli::complain(std::string("failed: ") + e.what());
    }
    return cli::kExitFailed;
}
