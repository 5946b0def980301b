#include "game/Guessing.h"

#include "game/Draw.h"
#include "game/GallowsPictures.h"
#include "game/GameControl.h"
#include "game/LetterTiles.h"
#include "game/RoundState.h"
#include "game/TextCase.h"
#include "ui/Controls.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

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
    int hits = 0;
    s.letterUsed[letter] = 1;
    // One occurrence per pass, until a pass finds none.
    do {
        findAndFlag(s.workingCopy, tile.text);
        const auto pos = s.workingCopy.find(tile.text);
        if (s.lastFindHit == 1) {
            s.display[pos] = tile.text[0];
            s.workingCopy[pos] = '*';
            ++hits;
        }
        d.setText(ui::id::PhraseDisplay, s.display);
        d.setText(ui::id::PhraseUnderlay, s.underlay);
    } while (s.lastFindHit == 1);

    if (hits == 0) {
        s.missedLetters += tile.missText;
        d.setText(ui::id::MissedLetters, s.missedLetters);
        countWrongGuess();
        ui::playCueUnlessMuted(ui::SoundCue::Miss);
    } else {
        ui::playCueUnlessMuted(ui::SoundCue::Hit);
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
        d.beep();
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
    ui::playCueUnlessMuted(ui::SoundCue::Miss);
    s.missedLetters += "# ";
    d.setText(ui::id::MissedLetters, s.missedLetters);
    countWrongGuess();
    updateGallows();
}

}  // namespace game
