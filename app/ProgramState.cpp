#include "app/ProgramState.h"

#include "app/KeyboardMode.h"
#include "library/Config.h"
#include "ui/AccessibleNames.h"

namespace app {

ProgramState programState;

// The names the logic uses, bound to the struct's members before any code
// runs (a reference to a member of a static object is a constant).
ExitState& exitState = programState.exit;
KeyboardState& keyboardState = programState.keyboard;
bool& keyboardOptionGiven = programState.keyboard.optionGiven;

void resetProgramState() { programState = ProgramState{}; }

}  // namespace app

library::AppPaths& library::appPaths = app::programState.paths;
game::RoundState& game::roundState = app::programState.round;
std::array<game::PlayerStats, 2>& game::playerStats = app::programState.playerStats;
game::StatsFileState& game::statsFileState = app::programState.statsFile;
library::LibraryFileState& library::libraryFileState = app::programState.libraryFile;
library::LibraryState& library::libraryState = app::programState.library;
library::PuzzleViewer& library::puzzleViewer = app::programState.viewer;
std::int32_t& library::Disable_Console = app::programState.disableConsole;
std::int32_t& library::Disable_VCCntls = app::programState.disableViewerControls;
std::int32_t& library::Keyboard_Play = app::programState.keyboardPlay;
ui::PushedAccessibleNames& ui::accessibleNamesPushed = app::programState.accessibleNames;
