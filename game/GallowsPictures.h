// Which pictures make up the gallows figure.
#pragma once

#include <array>

#include "ui/Controls.h"

namespace game {

// The stage picture shown at each wrong-guess count 1..6 (index 0 unused);
// count 1 shows the alternate head instead while the alternate figure is on.
inline constexpr std::array<int, 7> gallowsStageFor = {
    0,
    ui::id::GallowsStage1,
    ui::id::GallowsStage2,
    ui::id::GallowsStage3,
    ui::id::GallowsStage4,
    ui::id::GallowsStage5,
    ui::id::GallowsStage6,
};

// The stage pictures in the order a loss and a new board hide them.
inline constexpr std::array<int, 6> gallowsStagesTopDown = {
    ui::id::GallowsStage6, ui::id::GallowsStage5, ui::id::GallowsStage4,
    ui::id::GallowsStage3, ui::id::GallowsStage2, ui::id::GallowsStage1,
};

// The head: the ordinary or the alternate one, by the figure mode.
int headPicture();

}  // namespace game
