#include "cli/Arguments.h"

namespace cli {

namespace {

struct KnownOption {
    const char* name;
    bool takesValue;
};

// Every option of every command; which command accepts which is the
// command table's business.
constexpr KnownOption kOptions[] = {
    {"--dir", true},      {"--help", false},  {"--grep", true},    {"--format", true},
    {"--hint", true},     {"--verbose", false}, {"--dry-run", false},
    {"--version", false},
    {"--long-hints", true},
    {"--keep-possessives", false},
    {"--header", true},
    {"--separator", true},
    {"--max-size", true},
};

const KnownOption* findOption(const std::string& name) {
    for (const auto& o : kOptions) {
        if (name == o.name) return &o;
    }
    return nullptr;
}

}  // namespace

bool parseArguments(int argc, const char* const* argv, Arguments& out, std::string& error) {
    out = Arguments{};
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg == "-h") arg = "--help";
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (out.command.empty()) {
                out.command = arg;
            } else {
                out.operands.push_back(arg);
            }
            continue;
        }
        std::string value;
        bool hasValue = false;
        const auto eq = arg.find('=');
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        const KnownOption* known = findOption(arg);
        if (known == nullptr) {
            error = "unknown option " + arg;
            return false;
        }
        if (known->takesValue && !hasValue) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!known->takesValue && hasValue) {
            error = "option " + arg + " takes no value";
            return false;
        }
        out.options[arg] = value;
    }
    return true;
}

}  // namespace cli
