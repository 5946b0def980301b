// Drawing a puzzle from the plain puzzle file and masking it.
#pragma once

#include <cstddef>
#include <string>

namespace game {

// Characters a draw hides, in order; the final '#' also ends the walk.
inline constexpr const char* maskAlphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ#";

// The longest phrase a game is played with: the most text a control holds.
inline constexpr std::size_t kLongestPlayablePhrase = 32767;

// Draws a random record and builds every string of the round from it.
// Returns true when a puzzle was drawn (a drawable record with a phrase);
// false leaves all game strings empty.
bool drawPuzzle();

// Sets roundState.lastFindHit to whether text occurs in s.
void findAndFlag(const std::string& s, const std::string& text);

// Replaces every occurrence of search in target (search must not be empty);
// text just inserted is never searched again. Returns target.
std::string& replaceAll(std::string& target, const std::string& search, const std::string& replacement);

}  // namespace game
