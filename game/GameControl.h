// Starting and ending games, difficulty, players, reveal, figure mode,
// the message window and the flight animation.
#pragma once

#include "platform/Desktop.h"

namespace game {

void onNewGame(platform::Window window);          // NewGameButton (3550)
void resetBoard();
void onDifficulty(platform::Window window);       // DifficultyButton (3400)
void onPlayerOne(platform::Window window);        // PlayerOneButton (2800)
void onPlayerTwo(platform::Window window);        // PlayerTwoButton (2950)
void onReveal(platform::Window window);           // RevealButton (3700)
void onFigure(platform::Window window);           // FigureButton (6700)
void onMessageClose(platform::Window window);     // MessageCloseButton (1900)

// First step of every left click: opens MessageWindow from the title strip.
// Returns true when it consumed the click.
bool messageStripTest(platform::Window window, platform::Point client);

void endGameWon();
void endGameLost();

void onTimer(platform::Window window);            // WM_TIMER: the flight animation

}  // namespace game
