#include "ui/Controls.h"

#include "ui/Bitmaps.h"

#include <algorithm>
#include <cstdint>

namespace ui {

namespace {
using K = ControlKind;
using F = ControlFont;
constexpr Window M = Window::Main;
constexpr Window A = Window::AddPuzzle;
constexpr Window G = Window::Message;

constexpr ControlSpec button(int id, const char* name, Window parent, int l, int t, int w, int h,
                             int pressed, int normal) {
    return {id, name, K::OwnerDrawButton, parent, l, t, w, h, true, 0, pressed, normal, F::Default, 0};
}
constexpr ControlSpec tile(int k, int l, int t, int w, int h) {
    constexpr const char* names[26] = {
        "LetterTileA", "LetterTileB", "LetterTileC", "LetterTileD", "LetterTileE", "LetterTileF",
        "LetterTileG", "LetterTileH", "LetterTileI", "LetterTileJ", "LetterTileK", "LetterTileL",
        "LetterTileM", "LetterTileN", "LetterTileO", "LetterTileP", "LetterTileQ", "LetterTileR",
        "LetterTileS", "LetterTileT", "LetterTileU", "LetterTileV", "LetterTileW", "LetterTileX",
        "LetterTileY", "LetterTileZ"};
    return {160 + 60 * k, names[k], K::Picture, M, l, t, w, h, true, 130 + 60 * k, 0, 0, F::Default, 0};
}
constexpr ControlSpec text(int id, const char* name, K kind, int l, int t, int w, int h,
                           F font = F::Default) {
    return {id, name, kind, M, l, t, w, h, true, 0, 0, 0, font, 0};
}
constexpr ControlSpec picture(int id, const char* name, int l, int t, int w, int h, int bitmap) {
    return {id, name, K::Picture, M, l, t, w, h, false, bitmap, 0, 0, F::Default, 0};
}
constexpr ControlSpec edit(int id, const char* name, Window parent, int l, int t, int w, int h,
                           int limit) {
    return {id, name, K::Edit, parent, l, t, w, h, true, 0, 0, 0, F::Default, limit};
}
}  // namespace

const std::array<ControlSpec, kControlCount> controlTable = {{
    // Owner-drawn buttons.
    button(2800, "PlayerOneButton", M, 647, 434, 93, 30, 2750, 2700),
    button(2950, "PlayerTwoButton", M, 647, 468, 93, 27, 2900, 2850),
    button(3100, "ResetStatsButton", M, 761, 400, 102, 29, 3050, 3000),
    button(3250, "SoundButton", M, 761, 434, 102, 29, 3200, 3150),
    button(3400, "DifficultyButton", M, 761, 468, 79, 27, 3350, 3300),
    button(3550, "NewGameButton", M, 761, 329, 102, 28, 3500, 3450),
    button(3700, "RevealButton", M, 761, 364, 102, 28, 3650, 3600),
    button(4000, "MinimizeButton", M, 821, 3, 23, 19, 3950, 3900),
    button(4150, "HelpButton", M, 846, 3, 23, 19, 4100, 4050),
    button(4300, "ExitButton", M, 871, 3, 23, 19, 4250, 4200),
    button(4900, "GuessPhraseButton", M, 27, 570, 115, 34, 4850, 4800),
    button(1900, "MessageCloseButton", G, 138, 64, 42, 25, 2650, 2300),
    button(5350, "AddPuzzlesButton", M, 494, 570, 117, 34, 5150, 5100),
    button(6700, "FigureButton", M, 640, 571, 164, 33, 6500, 6300),
    button(5200, "AddButton", A, 555, 360, 114, 29, 5450, 5400),
    button(5950, "DeleteButton", A, 628, 313, 42, 28, 5900, 5850),
    button(6000, "ViewButton", A, 555, 313, 71, 28, 5800, 5750),
    button(6200, "CloseAddButton", A, 669, 5, 23, 19, 4250, 4200),

    // Letter tiles, nominal sizes; the bitmap's size is what shows.
    tile(0, 86, 479, 18, 20),
    tile(1, 125, 479, 16, 20),
    tile(2, 160, 479, 18, 20),
    tile(3, 200, 479, 17, 20),
    tile(4, 237, 479, 16, 20),
    tile(5, 274, 479, 15, 20),
    tile(6, 309, 479, 19, 20),
    tile(7, 349, 479, 16, 20),
    tile(8, 380, 479, 14, 20),
    tile(9, 411, 479, 15, 20),
    tile(10, 449, 479, 17, 20),
    tile(11, 487, 479, 15, 20),
    tile(12, 520, 479, 20, 20),
    tile(13, 88, 512, 16, 20),
    tile(14, 126, 512, 19, 20),
    tile(15, 162, 512, 16, 20),
    tile(16, 198, 512, 20, 21),
    tile(17, 237, 512, 16, 20),
    tile(18, 272, 512, 17, 20),
    tile(19, 311, 512, 16, 20),
    tile(20, 349, 512, 17, 20),
    tile(21, 379, 512, 19, 20),
    tile(22, 408, 512, 26, 20),
    tile(23, 448, 512, 17, 20),
    tile(24, 485, 512, 18, 20),
    tile(25, 521, 512, 17, 20),

    // Other static controls.
    text(1690, "PlayerOneTotalDisplay", K::TextNoPrefix, 760, 118, 106, 18),
    text(1720, "PlayerTwoTotalDisplay", K::TextNoPrefix, 760, 241, 106, 18),
    text(1750, "PlayerOneWinsDisplay", K::TextNoPrefix, 760, 147, 40, 18),
    text(1780, "PlayerTwoWinsDisplay", K::TextNoPrefix, 760, 270, 40, 18),
    text(1810, "PlayerOneLossesDisplay", K::TextNoPrefix, 826, 147, 40, 18),
    text(1840, "PlayerTwoLossesDisplay", K::TextNoPrefix, 826, 270, 40, 18),
    picture(3820, "WinPictureLeft", 129, 93, 84, 67, 3750),
    picture(4950, "WinPictureRight", 457, 116, 53, 23, 3850),
    picture(6600, "FigureModeIndicator", 832, 557, 62, 59, 6400),
    picture(6100, "LossFigure", 194, 83, 280, 376, 6050),
    picture(7000, "AltLossFigure", 194, 83, 280, 376, 6800),
    picture(7400, "FlightFrame1", 21, 76, 80, 100, 7300),
    picture(7600, "FlightFrame2", 61, 76, 127, 100, 7500),
    picture(7800, "FlightFrame3", 164, 77, 128, 98, 7700),
    picture(8000, "FlightFrame4", 254, 76, 139, 90, 7900),
    picture(8200, "FlightFrame5", 372, 76, 124, 90, 8100),
    picture(8400, "FlightFrame6", 472, 76, 100, 100, 8300),
    picture(8600, "FlightFrame7", 532, 76, 83, 100, 8500),
    text(1930, "HintDisplay", K::TextCentered, 647, 517, 218, 20, F::Interface),
    text(1960, "PhraseDisplay", K::TextNoPrefix, 28, 38, 846, 25, F::Phrase),
    text(5500, "PhraseUnderlay", K::TextPrefix, 28, 38, 846, 25, F::Phrase),
    text(4350, "MissedLetters", K::TextCentered, 668, 362, 60, 52),
    text(4400, "GuessLimitDisplay", K::TextNoPrefix, 845, 471, 14, 20),
    picture(2350, "GallowsStage6", 331, 259, 48, 134, 2000),
    picture(2400, "GallowsStage5", 285, 259, 46, 132, 2050),
    picture(2450, "GallowsStage4", 363, 142, 106, 47, 2100),
    picture(2500, "GallowsStage3", 194, 143, 104, 43, 2150),
    picture(2550, "GallowsStage2", 298, 152, 65, 107, 2200),
    picture(2600, "GallowsStage1", 292, 82, 81, 70, 2250),
    picture(7100, "AltGallowsStage1", 292, 82, 81, 70, 6900),

    // Edit fields.
    edit(4750, "GuessEdit", M, 150, 577, 333, 20, 0),
    edit(5300, "PhraseEdit", A, 261, 318, 284, 24, 38),
    edit(5250, "HintEdit", A, 261, 366, 252, 24, 34),
}};

const std::array<int, 16> picturesHiddenAfterAssignment = {
    id::LossFigure,    id::AltLossFigure, id::GallowsStage6,    id::GallowsStage5,
    id::GallowsStage4, id::GallowsStage3, id::GallowsStage2,    id::GallowsStage1,
    id::AltGallowsStage1, id::FlightFrame1, id::FlightFrame2,   id::FlightFrame3,
    id::FlightFrame4,  id::FlightFrame5,  id::FlightFrame6,     id::FlightFrame7,
};

const ControlSpec* findControl(int id) {
    auto it = std::find_if(controlTable.begin(), controlTable.end(),
                           [id](const ControlSpec& c) { return c.id == id; });
    return it == controlTable.end() ? nullptr : &*it;
}

platform::ControlDescription describeControl(const ControlSpec& row) {
    platform::ControlDescription d;
    d.id = row.id;
    d.name = row.name;
    d.kind = row.kind;
    d.parent = row.parent;
    d.left = row.left;
    d.top = row.top;
    d.width = row.width;
    d.height = row.height;
    d.normalFace = row.normalFace;
    d.pressedFace = row.pressedFace;
    d.font = row.font;
    d.textLimit = row.textLimit;
    if (row.kind == K::Picture) {
        d.bitmap = row.bitmap;
        if (const BitmapSpec* size = findBitmap(row.bitmap)) d.bitmapSize = {size->width, size->height};
    }
    // The phrase display's letters stand on the underlay's blanks: it has no
    // background, and the underlay, made after it, stays below it.
    if (row.id == id::PhraseDisplay) d.transparent = true;
    if (row.id == id::PhraseUnderlay) d.stackUnder = id::PhraseDisplay;
    return d;
}

std::array<WindowSpec, 3> windowSpecs(int screenWidth, int screenHeight) {
    // Half the screen, held as 16-bit signed values; positions are not clamped.
    const int cx = static_cast<std::int16_t>(screenWidth / 2);
    const int cy = static_cast<std::int16_t>(screenHeight / 2);
    return {{
        {Window::Main, "Tarvik_KXv", "Tarvik_KXv", cx - 450, cy - 378, kMainWidth, kMainHeight, 48,
         std::nullopt},
        {Window::AddPuzzle, "Add_Puzzles", "Add_Puzzle", cx - 350, cy - 450, kAddWidth, kAddHeight,
         100, Window::Main},
        {Window::Message, "Message_KXv", "Message_KXv", cx - 278, cy - 350, kMessageWidth,
         kMessageHeight, 1870, Window::Main},
    }};
}

}  // namespace ui
