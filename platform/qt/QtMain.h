// Runs a program on the Qt desktop: opens the display, lets the program make
// its windows and runs the message loop. Returns the process exit code.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace platform::qt {

// What the program answers when asked to start.
struct StartResult {
    bool started = false;   // false: it is not to run; no window was made
    // When it is not to run because another copy runs: that copy's process
    // and its main window's title and class, so that window comes to the
    // front.
    pid_t runningCopy = 0;
    std::string runningWindowTitle;
    std::string runningWindowClass;
    bool bringForward = false;   // not to run because another copy runs: show that one
    int exitCode = 0;            // the program's exit code when not started
};

struct Program {
    // Makes the program's windows against platform::desktop(); given the
    // path of the running executable.
    std::function<StartResult(const std::string& executablePath)> start;
    // A termination signal (SIGTERM, SIGINT, SIGHUP) arrived.
    std::function<void()> terminate;
};

int runQtProgram(int argc, char** argv, const Program& program);

}  // namespace platform::qt
