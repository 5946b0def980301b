// Upper-casing of phrases: ASCII letters only, every other byte as it is.
#pragma once

#include <cctype>
#include <string>

namespace game {

// Bytes above 127 are left alone whatever locale the desktop layer set.
inline char upperByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 128 ? static_cast<char>(std::toupper(u)) : c;
}

inline void upperCaseInPlace(std::string& s) {
    for (char& c : s) c = upperByte(c);
}

}  // namespace game
