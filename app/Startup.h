// Start-up: files, windows, controls, statistics and configuration.
#pragma once

#include <string>
#include <sys/types.h>

namespace app {

struct StartOutcome {
    bool started = false;        // false: the folder was not ours; nothing was touched
    bool bringForward = false;   // not started because a game runs there: show that one
    pid_t holder = 0;            // the process holding the folder, when the kernel tells it
    int exitCode = 0;            // the program's exit code when not started
};

// Runs every start-up step against the desktop in use, up to the message
// loop. Takes the folder's lock first: when another game holds it, returns
// at once without touching a file or creating a window, for that game's
// window to come forward; when the library tool holds it, someone else
// does, or its lock file is not safe to use, says so in a box and returns
// with exit code 1, touching nothing either.
StartOutcome startProgram(const std::string& executablePath);

}  // namespace app
