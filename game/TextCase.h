// Upper-casing of phrases for the screen and for the phrase guess: the
// letters a to z and the Latin-1 letters à to þ (but ÷) become capitals;
// ß and ÿ, which have no Latin-1 capital, and every other byte stay as they
// are. What is stored is never changed, and the letter tiles still guess
// only A to Z.
#pragma once

#include <string>

namespace game {

// A table of bytes rather than std::toupper: the locale the desktop layer
// set must not decide what the game shows.
inline char upperByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    const bool ascii = u >= 'a' && u <= 'z';
    const bool latin1 = u >= 0xE0 && u <= 0xFE && u != 0xF7;
    return ascii || latin1 ? static_cast<char>(u - 0x20) : c;
}

inline void upperCaseInPlace(std::string& s) {
    for (char& c : s) c = upperByte(c);
}

}  // namespace game
