// The game's command line: a few options of its own, each a row of a table;
// anything else is refused before a window opens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "library/AppPaths.h"

namespace app {

struct CommandLine {
    bool run = true;      // false: the process ends at once with exitCode
    int exitCode = 0;
    std::string output;   // for standard output
    std::string errors;   // for standard error
    bool keyboard = false;   // --keyboard: keyboard play for this run
};

struct CommandLineOption {
    const char* name;   // "--help"
    const char* help;   // one line for the usage
    // Sets what the option asks for; `where` gives the paths this copy uses.
    void (*apply)(CommandLine& line, const std::function<library::AppPaths()>& where);
};

// Every option the game takes, in the order the usage lists them.
extern const std::vector<CommandLineOption> commandLineOptions;

// The usage: the options, the files the game keeps and the folder they are in.
std::string usageText(const library::AppPaths& paths);

// Reads the arguments after the program's name. Unknown options and any
// other argument end the process with exit code 2 and a line on standard
// error. `where` is asked only when the answer needs the paths.
CommandLine parseCommandLine(const std::vector<std::string>& args,
                             const std::function<library::AppPaths()>& where);

}  // namespace app
