// Placeholder until game control lands.
#include "game/GameControl.h"
namespace game {
void onNewGame(platform::Window) {}
void resetBoard() {}
void onDifficulty(platform::Window) {}
void onPlayerOne(platform::Window) {}
void onPlayerTwo(platform::Window) {}
void onReveal(platform::Window) {}
void onFigure(platform::Window) {}
void onMessageClose(platform::Window) {}
bool messageStripTest(platform::Window, platform::Point) { return false; }
void endGameWon() {}
void endGameLost() {}
void onTimer(platform::Window) {}
}
