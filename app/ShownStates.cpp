#include "app/ShownStates.h"

#include "game/Mute.h"
#include "game/RoundState.h"

namespace app {

ui::ShownStates shownStates() {
    const auto& s = game::roundState;
    ui::ShownStates out;
    out.currentPlayer = s.currentPlayer;
    out.soundOn = !game::soundMuted();
    out.fiveGuesses = s.difficultyToggleCount % 2 != 0;
    out.alternateFigure = s.altFigureMode == 1;
    for (int k = 0; k < 26; ++k) out.letterUsed[k] = s.letterUsed[k] != 0;
    return out;
}

}  // namespace app
