// The command line: a command, its operands and its options.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

struct Arguments {
    std::string command;
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;   // "--grep" -> its value; flags -> ""

    bool has(const std::string& option) const { return options.count(option) != 0; }
    std::string value(const std::string& option) const {
        const auto it = options.find(option);
        return it == options.end() ? std::string() : it->second;
    }
};

// Reads argv[1..]. Options may stand anywhere, as --name value or
// --name=value; "--" ends them. False, with error, on an unknown option or a
// missing value.
bool parseArguments(int argc, const char* const* argv, Arguments& out, std::string& error);

}  // namespace cli
