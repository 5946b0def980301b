#include "ui/Bitmaps.h"

#include <algorithm>

namespace ui {

namespace {
using R = BitmapRole;
}

const std::array<BitmapSpec, kBitmapCount> bitmapTable = {{
    // Window backgrounds.
    {48, 900, 620, R::Background, "main window background"},
    {100, 699, 400, R::Background, "add-puzzle window background"},
    {1870, 317, 100, R::Background, "message window picture"},

    // Button faces, normal then pressed.
    {2700, 93, 30, R::ButtonNormal, "Player 1"},
    {2750, 93, 30, R::ButtonPressed, "Player 1"},
    {2850, 93, 27, R::ButtonNormal, "Player 2"},
    {2900, 93, 27, R::ButtonPressed, "Player 2"},
    {3000, 102, 29, R::ButtonNormal, "Reset"},
    {3050, 102, 29, R::ButtonPressed, "Reset"},
    {3150, 102, 29, R::ButtonNormal, "Sound"},
    {3200, 102, 29, R::ButtonPressed, "Sound"},
    {3300, 79, 27, R::ButtonNormal, "Difficulty"},
    {3350, 79, 27, R::ButtonPressed, "Difficulty"},
    {3450, 102, 28, R::ButtonNormal, "New Game"},
    {3500, 102, 28, R::ButtonPressed, "New Game"},
    {3600, 102, 28, R::ButtonNormal, "Reveal"},
    {3650, 102, 28, R::ButtonPressed, "Reveal"},
    {3900, 23, 19, R::ButtonNormal, "minimise glyph"},
    {3950, 23, 19, R::ButtonPressed, "minimise glyph"},
    {4050, 23, 19, R::ButtonNormal, "help glyph"},
    {4100, 23, 19, R::ButtonPressed, "help glyph"},
    {4200, 23, 19, R::ButtonNormal, "close glyph"},
    {4250, 23, 19, R::ButtonPressed, "close glyph"},
    {4800, 115, 34, R::ButtonNormal, "Guess Phrase"},
    {4850, 115, 34, R::ButtonPressed, "Guess Phrase"},
    {2300, 42, 25, R::ButtonNormal, "message close (OK)"},
    {2650, 42, 25, R::ButtonPressed, "message close (OK)"},
    {5100, 117, 34, R::ButtonNormal, "Add Puzzles"},
    {5150, 117, 34, R::ButtonPressed, "Add Puzzles"},
    {6300, 164, 33, R::ButtonNormal, "figure mode"},
    {6500, 164, 33, R::ButtonPressed, "figure mode"},
    {5400, 115, 29, R::ButtonNormal, "Add"},
    {5450, 115, 29, R::ButtonPressed, "Add"},
    {5850, 42, 28, R::ButtonNormal, "Delete"},
    {5900, 42, 28, R::ButtonPressed, "Delete"},
    {5750, 71, 28, R::ButtonNormal, "View"},
    {5800, 71, 28, R::ButtonPressed, "View"},

    // Letter tiles A to Z.
    {130, 19, 20, R::LetterTile, "A"},
    {190, 16, 20, R::LetterTile, "B"},
    {250, 19, 20, R::LetterTile, "C"},
    {310, 17, 20, R::LetterTile, "D"},
    {370, 16, 20, R::LetterTile, "E"},
    {430, 15, 20, R::LetterTile, "F"},
    {490, 19, 20, R::LetterTile, "G"},
    {550, 16, 20, R::LetterTile, "H"},
    {610, 14, 20, R::LetterTile, "I"},
    {670, 15, 20, R::LetterTile, "J"},
    {730, 17, 20, R::LetterTile, "K"},
    {790, 15, 20, R::LetterTile, "L"},
    {850, 20, 20, R::LetterTile, "M"},
    {910, 16, 20, R::LetterTile, "N"},
    {970, 19, 20, R::LetterTile, "O"},
    {1030, 16, 20, R::LetterTile, "P"},
    {1090, 20, 21, R::LetterTile, "Q"},
    {1150, 16, 20, R::LetterTile, "R"},
    {1210, 17, 20, R::LetterTile, "S"},
    {1270, 16, 20, R::LetterTile, "T"},
    {1330, 17, 20, R::LetterTile, "U"},
    {1390, 19, 20, R::LetterTile, "V"},
    {1450, 26, 20, R::LetterTile, "W"},
    {1510, 17, 20, R::LetterTile, "X"},
    {1570, 18, 20, R::LetterTile, "Y"},
    {1630, 17, 20, R::LetterTile, "Z"},

    // Pictures.
    {3750, 84, 67, R::Picture, "win picture, left"},
    {3850, 53, 30, R::Picture, "win picture, right"},
    {6400, 62, 59, R::Picture, "figure mode indicator"},
    {6050, 280, 376, R::Picture, "whole loss figure"},
    {6800, 280, 376, R::Picture, "alternate loss figure"},
    {7300, 80, 100, R::Picture, "flight frame 1"},
    {7500, 127, 100, R::Picture, "flight frame 2"},
    {7700, 128, 98, R::Picture, "flight frame 3"},
    {7900, 139, 90, R::Picture, "flight frame 4"},
    {8100, 124, 90, R::Picture, "flight frame 5"},
    {8300, 100, 100, R::Picture, "flight frame 6"},
    {8500, 83, 100, R::Picture, "flight frame 7"},
    {2250, 81, 70, R::Picture, "gallows stage 1: head"},
    {2200, 65, 107, R::Picture, "gallows stage 2: body"},
    {2150, 104, 43, R::Picture, "gallows stage 3: left arm"},
    {2100, 106, 47, R::Picture, "gallows stage 4: right arm"},
    {2050, 46, 132, R::Picture, "gallows stage 5: left leg"},
    {2000, 48, 134, R::Picture, "gallows stage 6: right leg"},
    {6900, 81, 70, R::Picture, "alternate head"},
}};

const BitmapSpec* findBitmap(int id) {
    auto it = std::find_if(bitmapTable.begin(), bitmapTable.end(),
                           [id](const BitmapSpec& b) { return b.id == id; });
    return it == bitmapTable.end() ? nullptr : &*it;
}

}  // namespace ui
