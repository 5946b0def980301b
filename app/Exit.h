// The orderly exit: ExitButton, a close request or a termination signal.
#pragma once

namespace app {

// Scrambles the puzzle file back, saves the statistics and destroys the main
// window, which ends the message loop. Runs once; later calls do nothing.
void orderlyExit();

// Whether the orderly exit has begun (it runs once).
struct ExitState {
    bool exiting = false;
};
extern ExitState& exitState;   // in app::programState

}  // namespace app
