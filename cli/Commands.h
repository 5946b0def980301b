// The tool's commands, each a function of the parsed command line.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "library/AppPaths.h"

namespace cli {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;     // refused or failed; nothing was changed
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblems = 3;   // check found problems

struct Context {
    Arguments args;
    library::AppPaths paths;
};

struct Command {
    const char* name;
    int (*run)(const Context&);
    std::size_t minOperands, maxOperands;
    std::vector<std::string> options;   // besides --dir and --help
    const char* synopsis;
    const char* help;
};

const std::vector<Command>& commandTable();
const Command* findCommand(const std::string& name);

int runList(const Context& c);
int runAdd(const Context& c);
int runDelete(const Context& c);
int runImport(const Context& c);
int runExport(const Context& c);
int runCheck(const Context& c);

// Messages to standard error, with the program's name in front.
void complain(const std::string& message);

// The whole text to standard output; false when it could not be written.
bool writeOut(const std::string& text);

// The general help: every command's synopsis.
std::string generalHelp();

}  // namespace cli
