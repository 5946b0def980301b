// Shared helpers for the game tests: a puzzle file whose every drawable
// record holds the same phrase, and the player's actions through the real
// dispatch.
#pragma once

#include <string>

#include "Fixture.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "platform/Desktop.h"
#include "ui/Controls.h"

namespace testing_support {

// The waves of the cues, as MemoryDesktop records them.
inline const std::string clickWave = "playWave 4450";
inline const std::string hitWave = "playWave 4600";
inline const std::string missWave = "playWave 4650";
inline const std::string newGameWave = "playWave 4700";
inline const std::string winWave = "playWave 5650";
inline const std::string lossWave = "playWave 5700";
inline const std::string altLossWave = "playWave 7200";

class GameTest : public ProgramTest {
protected:
    // Five records; records 1 to 3, the only drawable ones, all hold phrase.
    void usePuzzle(const std::string& phrase, const std::string& hint = "A hint") {
        std::string bytes = "first;never drawn:";
        for (int i = 0; i < 3; ++i) bytes += phrase + ";" + hint + ":";
        bytes += "last;never drawn:";
        write("KXData.dat", bytes);
    }
    void startWith(const std::string& phrase, const std::string& hint = "A hint") {
        start();
        usePuzzle(phrase, hint);
    }
    void press(int id) { desk.pressButton(id); }
    void newGame() { press(ui::id::NewGameButton); }
    void clickLetter(char letter) {
        desk.click(platform::Window::Main, desk.centreOf(ui::id::LetterTile(letter - 'A')));
    }
    void clickLetters(const std::string& letters) {
        for (char c : letters) clickLetter(c);
    }
    // A point of the main window on no tile, button or strip.
    void clickEmptySpot() { desk.click(platform::Window::Main, {700, 300}); }
    void guess(const std::string& text) {
        desk.type(ui::id::GuessEdit, text);
        press(ui::id::GuessPhraseButton);
    }
    void tick() { platform::sendMessage(platform::Window::Main, platform::Message::Timer, 1); }

    game::RoundState& state() { return game::roundState; }
    const game::PlayerStats& one() { return game::playerStats[0]; }
    const game::PlayerStats& two() { return game::playerStats[1]; }
    std::string shown(int id) { return desk.text(id); }
};

}  // namespace testing_support
