// Start-up: files, windows, controls, statistics and configuration.
#pragma once

#include <string>
#include <sys/types.h>

namespace app {

struct StartOutcome {
    bool started = false;   // false: another run holds the folder; nothing was touched
    pid_t holder = 0;       // that run's process, when the kernel tells it
};

// Runs every start-up step against the desktop in use, up to the message
// loop. Takes the folder's lock first: when another run holds it, returns
// at once without touching a file or creating a window.
StartOutcome startProgram(const std::string& executablePath);

}  // namespace app
