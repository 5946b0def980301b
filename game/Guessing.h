// Letter tiles and whole-phrase guesses.
#pragma once

#include "platform/Desktop.h"

namespace game {

// WM_LBUTTONDOWN on any of the three windows; client point of that window.
void onLeftButtonDown(platform::Window window, platform::Point client);

void guessLetter(int letter);   // 0..25
void updateGallows();
void guessPhrase(platform::Window window);   // GuessPhraseButton (4900)

}  // namespace game
