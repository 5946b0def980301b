#include "game/GallowsPictures.h"

#include "game/RoundState.h"

namespace game {

int headPicture() {
    return roundState.altFigureMode == 1 ? ui::id::AltGallowsStage1 : ui::id::GallowsStage1;
}

}  // namespace game
