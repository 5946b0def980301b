// What a screen reader says without the player asking: every hit, miss, win,
// loss, refusal and change of player or switch, as text pushed to the
// desktop's announce.
#pragma once

#include <string>

namespace ui {

// Why a press was refused; each is told with the beep.
enum class Refusal {
    NoGameToGuess,       // Guess Phrase between games
    LevelLocked,         // Level after the first miss
    NothingToReveal,     // Reveal but after a lost game
    FigureLocked,        // Figure Mode during a game
    NothingToReset,      // Reset Stats with a score of 0
    NoPuzzles,           // New Game with the library missing
    AddingLocked,        // Add Puzzles with editing locked
    NoPhraseToAdd,       // Add with an empty phrase
    UnstorablePuzzle,    // Add with a ';' or ':' in a field
    PuzzleNotStored,     // Add when the library could not be written
    ViewingLocked,       // View or Delete with the viewer locked
    ViewerBusy,          // View while a status is pending or a delete runs
    NothingToDelete,     // Delete with no puzzle on show
    PuzzleNotDeleted,    // Delete when the library could not be rewritten
    WindowsHeld,         // an arrow key while the add-puzzle window shows
};

const char* refusalText(Refusal r);

// Sounds the default beep and tells why.
void refuse(Refusal r);

// Spoken at once; a notice replaces the one before it.
void announce(const std::string& text);

std::string hitNotice(char letter, int places);                 // "T: 2 found"
std::string missNotice(char letter, int wrongGuesses);          // "Q: not in the phrase, 3 of 7"
std::string wrongPhraseNotice(int wrongGuesses);                // "Wrong phrase, 4 of 7"
std::string winNotice(const std::string& phrase, int player, int points, const std::string& total);
std::string lossNotice(int player);
std::string revealNotice(const std::string& phrase);
std::string newGameNotice(const std::string& plainPhrase, const std::string& hint, int wrongGuesses);
std::string playerNotice(int player);                           // "Player 2 plays"

}  // namespace ui
