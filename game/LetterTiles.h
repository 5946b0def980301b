// The 26 letter tiles as one family: letter k (A = 0) has its tile control,
// the one-letter text it reveals and the text a miss appends.
#pragma once

#include <array>

#include "ui/Controls.h"

namespace game {

struct LetterTileSpec {
    int control;
    char text[2];       // "A"
    char missText[3];   // "A "
};

inline constexpr std::array<LetterTileSpec, 26> letterTiles = [] {
    std::array<LetterTileSpec, 26> table{};
    for (int k = 0; k < 26; ++k) {
        const char letter = static_cast<char>('A' + k);
        table[k] = {ui::id::LetterTile(k), {letter, '\0'}, {letter, ' ', '\0'}};
    }
    return table;
}();

}  // namespace game
