#include "app/ProgramState.h"

#include "app/AppPaths.h"
#include "app/Exit.h"
#include "app/KeyboardMode.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "library/Config.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleViewer.h"
#include "ui/AccessibleNames.h"

namespace app {

void resetProgramState() {
    game::roundState = game::RoundState{};
    game::playerStats = {};
    auto& v = library::puzzleViewer;
    if (v.stream.is_open()) v.stream.close();
    v.stream.clear();
    v.step = 0;
    v.deleteMode = 0;
    v.currentPhrase.clear();
    v.currentHint.clear();
    v.keptRecords.clear();
    v.status.clear();
    library::Disable_Console = 0;
    library::Disable_VCCntls = 0;
    library::Keyboard_Play = 0;
    keyboardOptionGiven = false;
    ui::resetAccessibleNames();
    appPaths = AppPaths{};
    resetExitGuard();
    game::resetStatsFileState();
    library::resetLibraryState();
}

}  // namespace app
