#include "game/Guessing.h"

#include <algorithm>

#include "game/Draw.h"
#include "game/GallowsPictures.h"
#include "game/GameControl.h"
#include "game/LetterTiles.h"
#include "game/Mute.h"
#include "game/RoundState.h"
#include "game/TextCase.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

// Uncovers every place of the letter: display shows it, workingCopy marks
// it '*' so it is found no more. Returns how many places there were.
int revealLetter(char letter) {
    auto& s = roundState;
    int hits = 0;
    const std::size_t n = std::min(s.workingCopy.size(), s.display.size());
    for (std::size_t pos = 0; pos < n; ++pos) {
        if (s.workingCopy[pos] != letter) continue;
        s.display[pos] = letter;
        s.workingCopy[pos] = '*';
        ++hits;
    }
    return hits;
}

void countWrongGuess() {
    roundState.wrongGuesses += 1;
    roundState.playerWrongGuesses += 1;
}

}  // namespace

void onLeftButtonDown(platform::Window window, platform::Point client) {
    if (messageStripTest(window, client)) return;
    auto& s = roundState;
    if (s.gameInProgress != 1) return;

    auto& d = platform::desktop();
    const platform::Point screen = d.clientToScreen(window, client);
    std::array<platform::Rect, 26> tileRects;
    for (int k = 0; k < 26; ++k) tileRects[k] = d.controlRect(letterTiles[k].control);

    for (int k = 0; k < 26; ++k) {
        if (tileRects[k].contains(screen) && s.gameInProgress == 1 && s.letterUsed[k] == 0) {
            guessLetter(k);
        }
    }
    updateGallows();
    if (s.gameInProgress == 1 && s.workingCopy == s.mask) endGameWon();
}

void guessLetter(int letter) {
    if (letter < 0 || letter >= 26) return;
    auto& s = roundState;
    auto& d = platform::desktop();
    const LetterTileSpec& tile = letterTiles[letter];

    d.hideControl(tile.control);
    s.letterUsed[letter] = 1;
    // Every occurrence in one pass, then the displays once: a phrase of any
    // length answers at once.
    const int hits = revealLetter(tile.text[0]);
    s.lastFindHit = 0;   // as after the last search that found nothing
    d.setText(ui::id::PhraseDisplay, s.display);
    d.setText(ui::id::PhraseUnderlay, s.underlay);

    if (hits == 0) {
        s.missedLetters += tile.missText;
        d.setText(ui::id::MissedLetters, s.missedLetters);
        countWrongGuess();
        game::playCueUnlessMuted(ui::SoundCue::Miss);
        ui::announce(ui::missNotice(tile.text[0], s.wrongGuesses));
    } else {
        game::playCueUnlessMuted(ui::SoundCue::Hit);
        ui::announce(ui::hitNotice(tile.text[0], hits));
    }
}

void updateGallows() {
    auto& s = roundState;
    if (s.wrongGuesses == 1) {
        platform::desktop().showControl(headPicture());
    } else if (s.wrongGuesses >= 2 && s.wrongGuesses <= 6) {
        platform::desktop().showControl(gallowsStageFor[s.wrongGuesses]);
    } else if (s.wrongGuesses >= 7 && s.gameInProgress == 1) {
        endGameLost();
    }
}

void guessPhrase(platform::Window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.gameInProgress != 1) {
        ui::refuse(ui::Refusal::NoGameToGuess);
        return;
    }
    ui::playCue(ui::SoundCue::Click);
    const int length = d.textLength(ui::id::GuessEdit);
    if (length <= 0) return;
    std::string guess = d.text(ui::id::GuessEdit);
    if (guess.size() > static_cast<std::size_t>(length)) guess.resize(static_cast<std::size_t>(length));
    upperCaseInPlace(guess);

    if (guess == s.plainAnswer) {
        endGameWon();
        return;
    }
    game::playCueUnlessMuted(ui::SoundCue::Miss);
    s.missedLetters += "# ";
    d.setText(ui::id::MissedLetters, s.missedLetters);
    countWrongGuess();
    ui::announce(ui::wrongPhraseNotice(s.wrongGuesses));
    updateGallows();
}

}  // namespace game
