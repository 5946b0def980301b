// Start-up: files, windows, controls, statistics and configuration.
#pragma once

#include <string>

namespace app {

// Runs every start-up step against the desktop in use, up to the message loop.
void startProgram(const std::string& executablePath);

}  // namespace app
