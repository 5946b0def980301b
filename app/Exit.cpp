#include "app/Exit.h"

#include "game/Stats.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"

namespace app {

namespace {
bool& exiting = exitState.exiting;
}

void orderlyExit() {
    if (exiting) return;
    exiting = true;
    library::scramblePuzzleFile();
    game::saveStats();
    platform::desktop().destroyWindow(platform::Window::Main);
}

}  // namespace app
