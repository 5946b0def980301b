// Every program-wide record of the game in one struct, so that a fresh start
// is one assignment and no record can be left out of it. The logic keeps its
// names for them (game::roundState, library::puzzleViewer, library::appPaths,
// ...): each is a reference into this struct. The tests and the fuzz
// targets run many programs in one process.
#pragma once

#include <array>
#include <cstdint>

#include "app/Exit.h"
#include "app/KeyboardMode.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "library/AppPaths.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleViewer.h"
#include "ui/AccessibleNames.h"

namespace app {

struct ProgramState {
    library::AppPaths paths;
    ExitState exit;
    game::RoundState round;
    std::array<game::PlayerStats, 2> playerStats{};
    game::StatsFileState statsFile;
    library::LibraryFileState libraryFile;
    library::LibraryState library;
    library::PuzzleViewer viewer;
    std::int32_t disableConsole = 0;
    std::int32_t disableViewerControls = 0;
    std::int32_t keyboardPlay = 0;
    KeyboardState keyboard;
    ui::PushedAccessibleNames accessibleNames;
};

extern ProgramState programState;

// Every record back to its start value, as at a fresh start.
void resetProgramState();

}  // namespace app
