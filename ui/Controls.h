// The three top-level windows and the 77 child controls, as data: the desktop
// layer builds the real windows from these rows, start-up walks them in order.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/Desktop.h"

namespace ui {

using platform::Window;

using platform::ControlFont;
using platform::ControlKind;
using platform::WindowSpec;

struct ControlSpec {
    int id;
    const char* name;
    ControlKind kind;
    Window parent;
    int left, top, width, height;   // nominal, relative to the parent's client area
    bool visibleAtStart;
    int bitmap;        // pictures: their bitmap
    int pressedFace;   // buttons
    int normalFace;    // buttons
    ControlFont font;
    int textLimit;     // edits: 0 = the desktop's default
};

inline constexpr int kControlCount = 77;

// In creation order.
extern const std::array<ControlSpec, kControlCount> controlTable;

const ControlSpec* findControl(int id);

// What the desktop is told of a row when it creates the control: the row
// itself, a picture's bitmap size, and how the phrase display lies over its
// underlay.
platform::ControlDescription describeControl(const ControlSpec& row);

// The three windows for a screen of the given size, in creation order.
std::array<WindowSpec, 3> windowSpecs(int screenWidth, int screenHeight);

// Fixed window sizes (the arrow keys keep them).
inline constexpr int kMainWidth = 900, kMainHeight = 620;
inline constexpr int kAddWidth = 698, kAddHeight = 400;
inline constexpr int kMessageWidth = 317, kMessageHeight = 100;

// Pictures hidden right after the bitmaps are assigned, in this order.
extern const std::array<int, 16> picturesHiddenAfterAssignment;

// Control identifiers.
namespace id {
inline constexpr int PlayerOneButton = 2800;
inline constexpr int PlayerTwoButton = 2950;
inline constexpr int ResetStatsButton = 3100;
inline constexpr int SoundButton = 3250;
inline constexpr int DifficultyButton = 3400;
inline constexpr int NewGameButton = 3550;
inline constexpr int RevealButton = 3700;
inline constexpr int MinimizeButton = 4000;
inline constexpr int HelpButton = 4150;
inline constexpr int ExitButton = 4300;
inline constexpr int GuessPhraseButton = 4900;
inline constexpr int MessageCloseButton = 1900;
inline constexpr int AddPuzzlesButton = 5350;
inline constexpr int FigureButton = 6700;
inline constexpr int AddButton = 5200;
inline constexpr int DeleteButton = 5950;
inline constexpr int ViewButton = 6000;
inline constexpr int CloseAddButton = 6200;

inline constexpr int PlayerOneTotalDisplay = 1690;
inline constexpr int PlayerTwoTotalDisplay = 1720;
inline constexpr int PlayerOneWinsDisplay = 1750;
inline constexpr int PlayerTwoWinsDisplay = 1780;
inline constexpr int PlayerOneLossesDisplay = 1810;
inline constexpr int PlayerTwoLossesDisplay = 1840;
inline constexpr int WinPictureLeft = 3820;
inline constexpr int WinPictureRight = 4950;
inline constexpr int FigureModeIndicator = 6600;
inline constexpr int LossFigure = 6100;
inline constexpr int AltLossFigure = 7000;
inline constexpr int FlightFrame1 = 7400;
inline constexpr int FlightFrame2 = 7600;
inline constexpr int FlightFrame3 = 7800;
inline constexpr int FlightFrame4 = 8000;
inline constexpr int FlightFrame5 = 8200;
inline constexpr int FlightFrame6 = 8400;
inline constexpr int FlightFrame7 = 8600;
inline constexpr int HintDisplay = 1930;
inline constexpr int PhraseDisplay = 1960;
inline constexpr int PhraseUnderlay = 5500;
inline constexpr int MissedLetters = 4350;
inline constexpr int GuessLimitDisplay = 4400;
inline constexpr int GallowsStage6 = 2350;
inline constexpr int GallowsStage5 = 2400;
inline constexpr int GallowsStage4 = 2450;
inline constexpr int GallowsStage3 = 2500;
inline constexpr int GallowsStage2 = 2550;
inline constexpr int GallowsStage1 = 2600;
inline constexpr int AltGallowsStage1 = 7100;
inline constexpr int GuessEdit = 4750;
inline constexpr int PhraseEdit = 5300;
inline constexpr int HintEdit = 5250;

// The tile of letter index k (A = 0).
constexpr int LetterTile(int k) { return 160 + 60 * k; }

// The seven flight frames in order.
inline constexpr std::array<int, 7> FlightFrames = {FlightFrame1, FlightFrame2, FlightFrame3,
                                                    FlightFrame4, FlightFrame5, FlightFrame6,
                                                    FlightFrame7};
}  // namespace id

}  // namespace ui
