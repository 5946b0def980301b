// Runs the program on the Qt desktop: opens the display, starts the program
// and runs the message loop. Returns the process exit code.
#pragma once

namespace platform::qt {

int runQtProgram(int argc, char** argv);

}  // namespace platform::qt
