// New Game, the board reset, difficulty, players, reveal and figure mode.
#include "game/GameControl.h"

#include "game/Draw.h"
#include "game/GallowsPictures.h"
#include "game/LetterTiles.h"
#include "game/Mute.h"
#include "game/RoundState.h"
#include "library/LibraryState.h"
#include "library/PuzzleViewer.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

const char* const missingDataText = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";
const char* const missingHintText = "No data";
const std::string missedLettersBlank(28, ' ');

bool fiveGuessMode() { return roundState.difficultyToggleCount % 2 != 0; }

const char* levelNotice() {
    return fiveGuessMode() ? "Level: five wrong guesses allowed" : "Level: seven wrong guesses allowed";
}

void showHeadStart() {
    auto& d = platform::desktop();
    d.showControl(ui::id::GallowsStage2);
    d.showControl(headPicture());
    roundState.wrongGuesses = 2;
}

void hideHeadStart() {
    auto& d = platform::desktop();
    d.hideControl(ui::id::GallowsStage2);
    d.hideControl(ui::id::GallowsStage1);
    d.hideControl(ui::id::AltGallowsStage1);
    roundState.wrongGuesses = 0;
}

void choosePlayer(platform::Window window, std::int32_t player) {
    const auto& s = roundState;
    const bool betweenGames = s.gameInProgress == 0;
    const bool nothingCountedYet =
        s.gameInProgress == 1 && (s.wrongGuesses == 0 || (s.wrongGuesses == 2 && fiveGuessMode()));
    if (!betweenGames && !nothingCountedYet) return;   // refused without a sound
    ui::playCue(ui::SoundCue::Click);
    const bool switched = roundState.currentPlayer != player;
    roundState.currentPlayer = player;
    platform::desktop().setFocus(window);
    if (switched) ui::announce(ui::playerNotice(player));
}

}  // namespace

void onNewGame(platform::Window window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.flightTick != 0) return;

    d.hideControl(ui::id::WinPictureLeft);
    d.hideControl(ui::id::WinPictureRight);
    library::AbortPuzzleViewing();
    s.gameInProgress = 1;
    resetBoard();
    s.wrongGuesses = 0;
    s.playerWrongGuesses = 0;
    s.gamesStarted += 1;
    game::playCueUnlessMuted(ui::SoundCue::NewGame);
    if (s.gamesStarted > 1 && fiveGuessMode()) showHeadStart();
    d.setFocus(window);

    if (!drawPuzzle()) {
        // Nothing to play: no game is in progress, so no click, phrase or
        // tile can win or lose it and nothing is booked; the board is bare.
        s.gameInProgress = 0;
        if (s.wrongGuesses != 0) hideHeadStart();
    }

    d.setText(ui::id::PhraseDisplay, s.display);
    d.setText(ui::id::PhraseUnderlay, s.underlay);
    d.setText(ui::id::MissedLetters, missedLettersBlank);
    d.setText(ui::id::HintDisplay, s.hint);
    // A single character is left where it is; a longer guess is cleared.
    if (d.textLength(ui::id::GuessEdit) + 1 > 2) d.setText(ui::id::GuessEdit, "");
    if (library::libraryState.recordCount == 0) {
        d.setText(ui::id::PhraseDisplay, missingDataText);
        d.setText(ui::id::HintDisplay, missingHintText);
    } else if (s.gameInProgress == 1) {
        ui::announce(ui::newGameNotice(s.plainAnswer, s.hint, s.wrongGuesses));
    }
}

void resetBoard() {
    auto& d = platform::desktop();
    for (const auto& tile : letterTiles) d.showControl(tile.control);
    for (int stage : gallowsStagesTopDown) d.hideControl(stage);
    d.hideControl(ui::id::LossFigure);
    d.hideControl(ui::id::AltGallowsStage1);
    d.hideControl(ui::id::AltLossFigure);
    roundState.letterUsed.fill(0);
}

void onDifficulty(platform::Window window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.gameInProgress == 0 && s.gamesStarted > 0) {
        // Between games the switch applies from the next New Game.
        ui::playCue(ui::SoundCue::Click);
        d.setText(ui::id::GuessLimitDisplay, fiveGuessMode() ? "7" : "5");
        s.difficultyToggleCount += 1;
        d.setFocus(window);
        ui::announce(levelNotice());
    } else if (s.gameInProgress == 1 && s.playerWrongGuesses == 0) {
        // Before the first real miss the head start comes and goes at once.
        ui::playCue(ui::SoundCue::Click);
        if (fiveGuessMode()) {
            d.setText(ui::id::GuessLimitDisplay, "7");
            hideHeadStart();
        } else {
            d.setText(ui::id::GuessLimitDisplay, "5");
            showHeadStart();
        }
        s.difficultyToggleCount += 1;
        d.setFocus(window);
        ui::announce(levelNotice());
    } else {
        ui::refuse(ui::Refusal::LevelLocked);
    }
}

void onPlayerOne(platform::Window window) { choosePlayer(window, 1); }
void onPlayerTwo(platform::Window window) { choosePlayer(window, 2); }

void onReveal(platform::Window window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.wrongGuesses != 7 || s.gameInProgress != 0) {
        ui::refuse(ui::Refusal::NothingToReveal);
        return;
    }
    ui::playCue(ui::SoundCue::Click);
    d.setFocus(window);
    d.setText(ui::id::PhraseDisplay, s.answer);
    s.wrongGuesses = 0;
    ui::announce(ui::revealNotice(s.plainAnswer));
}

void onFigure(platform::Window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.gameInProgress == 1) {
        ui::refuse(ui::Refusal::FigureLocked);
        return;
    }
    if (s.altFigureMode == 1) {
        d.hideControl(ui::id::FigureModeIndicator);
        s.altFigureMode = 0;
    } else {
        d.showControl(ui::id::FigureModeIndicator);
        s.altFigureMode = 1;
    }
    ui::announce(s.altFigureMode == 1 ? "Figure mode on" : "Figure mode off");
}

}  // namespace game
