// Placeholder until guessing lands.
#include "game/Guessing.h"
namespace game {
void onLeftButtonDown(platform::Window, platform::Point) {}
void guessLetter(int) {}
void updateGallows() {}
void guessPhrase(platform::Window) {}
}
