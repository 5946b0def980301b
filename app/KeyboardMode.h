// Keyboard play, off by default: on for good with the configuration line
// "Keyboard_Play= 1", for one run with --keyboard. Then the letter keys guess
// letters, Tab moves the focus through the buttons and edits, Space and
// Return press buttons, Return in the guess field guesses the phrase and
// Escape closes the message and add-puzzle windows.
#pragma once

#include "platform/Desktop.h"

namespace app {

struct KeyboardState {
    bool optionGiven = false;   // --keyboard was given on the command line
    bool modeOn = false;        // keyboard play is on in this run
};
extern KeyboardState& keyboardState;   // in app::programState
// --keyboard was given on the command line.
extern bool& keyboardOptionGiven;

bool keyboardMode();

// Start-up, once the configuration is read: tells the desktop.
void applyKeyboardMode();

// A key the window procedure received; true when keyboard play used it.
bool keyboardKey(platform::Window window, int key);

}  // namespace app
