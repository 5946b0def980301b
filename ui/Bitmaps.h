// The program's bitmap resources: number, pixel size and what each shows.
// The layout relies on the sizes; the artwork generator draws each one at
// exactly this size, and the desktop layer loads them by number.
#pragma once

#include <array>

namespace ui {

enum class BitmapRole {
    Background,
    ButtonNormal,
    ButtonPressed,
    LetterTile,
    Picture,
};

struct BitmapSpec {
    int id;
    int width;
    int height;
    BitmapRole role;
    const char* what;   // a short description, for the generator and tests
};

inline constexpr int kBitmapCount = 82;

extern const std::array<BitmapSpec, kBitmapCount> bitmapTable;

// The entry for a bitmap number, or nullptr when there is none.
const BitmapSpec* findBitmap(int id);

// Bitmap number of the tile for letter index k (A = 0).
constexpr int letterTileBitmap(int k) { return 130 + 60 * k; }

}  // namespace ui
