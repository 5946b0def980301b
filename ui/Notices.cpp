#include "ui/Notices.h"

#include <array>
#include <utility>

#include "platform/Desktop.h"

namespace ui {

namespace {

constexpr int kWrongGuessesToLose = 7;

const std::array<std::pair<Refusal, const char*>, 15> refusalTexts = {{
    {Refusal::NoGameToGuess, "No game in progress: press New Game first"},
    {Refusal::LevelLocked, "The level can change only between games or before the first miss"},
    {Refusal::NothingToReveal, "Reveal shows the phrase only after a lost game"},
    {Refusal::FigureLocked, "Figure mode can change only between games"},
    {Refusal::NothingToReset, "Nothing to reset: the current player's score is 0"},
    {Refusal::NoPuzzles, "No puzzles: the puzzle library appears to be missing"},
    {Refusal::AddingLocked, "Adding puzzles is locked in the configuration file"},
    {Refusal::NoPhraseToAdd, "Type a phrase first"},
    {Refusal::UnstorablePuzzle, "A phrase or hint cannot hold a semicolon or a colon"},
    {Refusal::PuzzleNotStored, "The puzzle could not be stored"},
    {Refusal::ViewingLocked, "Viewing and deleting puzzles is locked in the configuration file"},
    {Refusal::ViewerBusy, "The viewer starts again from the first puzzle: press View again"},
    {Refusal::NothingToDelete, "No puzzle on show: press View first"},
    {Refusal::PuzzleNotDeleted, "The puzzle could not be deleted"},
    {Refusal::WindowsHeld, "Close the add-puzzle window before moving the windows"},
}};

std::string ofSeven(int wrongGuesses) {
    return std::to_string(wrongGuesses) + " of " + std::to_string(kWrongGuessesToLose);
}

std::string playerName(int player) { return "Player " + std::to_string(player); }

}  // namespace

const char* refusalText(Refusal r) {
    for (const auto& [refusal, text] : refusalTexts) {
        if (refusal == r) return text;
    }
    return "";
}

void refuse(Refusal r) {
    auto& d = platform::desktop();
    d.beep();
    d.announce(refusalText(r));
}

void announce(const std::string& text) { platform::desktop().announce(text); }

std::string hitNotice(char letter, int places) {
    return std::string(1, letter) + ": " + std::to_string(places) + " found";
}

std::string missNotice(char letter, int wrongGuesses) {
    return std::string(1, letter) + ": not in the phrase, " + ofSeven(wrongGuesses);
}

std::string wrongPhraseNotice(int wrongGuesses) { return "Wrong phrase, " + ofSeven(wrongGuesses); }

std::string winNotice(const std::string& phrase, int player, int points, const std::string& total) {
    return "Won! The phrase is " + phrase + ". " + playerName(player) + " scores " +
           std::to_string(points) + " points, total " + total;
}

std::string lossNotice(int player) {
    return "Lost: the figure is complete. A loss for " + playerName(player) +
           ". Press Reveal to see the phrase";
}

std::string revealNotice(const std::string& phrase) { return "The phrase was " + phrase; }

std::string newGameNotice(const std::string& plainPhrase, const std::string& hint, int wrongGuesses) {
    int words = 0;
    int characters = 0;
    bool inWord = false;
    for (char c : plainPhrase) {
        if (c == ' ') {
            inWord = false;
            continue;
        }
        ++characters;
        if (!inWord) ++words;
        inWord = true;
    }
    std::string out = "New game: " + std::to_string(words) + (words == 1 ? " word, " : " words, ") +
                      std::to_string(characters) + (characters == 1 ? " character" : " characters");
    if (!hint.empty()) out += ". Hint: " + hint;
    if (wrongGuesses > 0) out += ". " + std::to_string(kWrongGuessesToLose - wrongGuesses) + " wrong guesses left";
    return out;
}

std::string playerNotice(int player) { return playerName(player) + " plays"; }

}  // namespace ui
