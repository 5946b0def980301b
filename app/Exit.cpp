#include "app/Exit.h"

#include "game/Stats.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"

namespace app {

namespace {
bool exiting = false;
}

void orderlyExit() {
    if (exiting) return;
    exiting = true;
    library::scramblePuzzleFile();
    game::saveStats();
    platform::desktop().destroyWindow(platform::Window::Main);
}

void resetExitGuard() { exiting = false; }

}  // namespace app
