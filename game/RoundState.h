// The one program-wide record of the game.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace game {

struct RoundState {
    std::string answer;        // upper-cased phrase, a space before every character
    std::string workingCopy;   // as answer; guessed letters become '*'
    std::string display;       // as answer; hidden characters '_'; shown in PhraseDisplay
    std::string underlay;      // display as drawn; shown in PhraseUnderlay
    std::string mask;          // as answer; hidden characters '*'; won when workingCopy == mask
    std::string hint;          // as stored
    std::string missedLetters; // "A " per missed letter, "# " per wrong phrase
    std::string plainAnswer;   // upper-cased phrase without the inserted spaces
    std::string maskChar = "a";
    std::int32_t currentPlayer = 1;
    std::int32_t gameInProgress = 0;
    std::int32_t wrongGuesses = 0;
    std::int32_t playerWrongGuesses = 0;
    std::int32_t difficultyToggleCount = 0;
    std::int32_t gamesStarted = 0;
    std::int32_t rngSeeded = 0;
    std::int32_t lastFindHit = 0;
    std::int32_t altFigureMode = 0;
    std::array<std::int32_t, 26> letterUsed{};
    std::int32_t flightTick = 0;
    std::int32_t messageShownCount = 0;
    std::int32_t soundToggleCount = 0;
};

extern RoundState& roundState;   // in app::programState

}  // namespace game
