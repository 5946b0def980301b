#include "app/CommandLine.h"

#ifndef TARVIK_VERSION
#error "TARVIK_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace app {

using library::AppPaths;

namespace {

constexpr const char* kProgram = "tarvik-kxv";

void printHelp(CommandLine& line, const std::function<AppPaths()>& where) {
    line.run = false;
    line.output = usageText(where());
}

void printVersion(CommandLine& line, const std::function<AppPaths()>&) {
    line.run = false;
    line.output = std::string(kProgram) + " " + TARVIK_VERSION + "\n";
}

void refuse(CommandLine& line, const std::string& why) {
    line.run = false;
    line.exitCode = 2;
    line.output.clear();
    line.errors = std::string(kProgram) + ": " + why + "\nTry '" + kProgram + " --help' for the options.\n";
}

// The files of the folder in use, with what each holds.
struct FileRow {
    const char* name;
    const char* holds;
};
const FileRow kFiles[] = {
    {"OnLoad.dat", "the puzzle library, scrambled between runs"},
    {"KXData.dat", "the readable library while the game runs"},
    {"KXStats.dat", "both players' total score, wins and losses"},
    {"KXC_CONFIG.INI", "the two switches that lock puzzle editing"},
};

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

void playByKeyboard(CommandLine& line, const std::function<AppPaths()>&) { line.keyboard = true; }

}  // namespace

const std::vector<CommandLineOption> commandLineOptions = {
    {"--help", "print this help and exit", &printHelp},
    {"--version", "print the version and exit", &printVersion},
    {"--keyboard", "play with the keyboard for this run", &playByKeyboard},
};

std::string usageText(const AppPaths& paths) {
    std::string text = std::string("Usage: ") + kProgram + " [OPTION]\n" +
                       "Guess the hidden phrase before the gallows figure is complete.\n\nOptions:\n";
    for (const auto& option : commandLineOptions) text += "  " + padded(option.name, 14) + option.help + "\n";
    text += "\nFiles, in " + (paths.directory.empty() ? std::string("the current directory") : paths.directory) +
            ":\n";
    for (const auto& file : kFiles) text += "  " + padded(file.name, 16) + file.holds + "\n";
    text += "Help document: " + paths.helpPath + "\n";
    return text;
}

CommandLine parseCommandLine(const std::vector<std::string>& args, const std::function<AppPaths()>& where) {
    CommandLine line;
    for (const std::string& arg : args) {
        const CommandLineOption* found = nullptr;
        for (const auto& option : commandLineOptions) {
            if (arg == option.name) found = &option;
        }
        if (found == nullptr) {
            refuse(line, arg.size() > 1 && arg[0] == '-' ? "unknown option '" + arg + "'"
                                                         : "takes no arguments, but was given '" + arg + "'");
            return line;
        }
        found->apply(line, where);
        // The first option that ends the process answers alone.
        if (!line.run) return line;
    }
    return line;
}

}  // namespace app
