// What a screen reader is told of every control: one row per control of the
// control table, with its name, what it does and its role; and the names of
// the displays, which carry their values ("Player 1 score 190").
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>

#include "platform/Desktop.h"
#include "ui/Controls.h"

namespace ui {

// The states that only pictures show, as the game has them now.
struct ShownStates {
    int currentPlayer = 1;
    bool soundOn = true;
    bool fiveGuesses = false;       // the level that starts with two misses counted
    bool alternateFigure = false;
    std::array<bool, 26> letterUsed{};
};


struct AccessibleRow {
    int id;
    // The name; for a display that carries a value, the label its value
    // follows (see accessibleNameFor).
    const char* name;
    const char* description;   // empty: none
    platform::AccessibleRole role;
};

// In the control table's order.
extern const std::array<AccessibleRow, kControlCount> accessibleTable;

const AccessibleRow* findAccessible(int id);

// The name of a control showing this text: the displays name their label
// and value, the phrase is spelled; other controls keep their fixed name.
std::string accessibleNameFor(int id, const std::string& text);

// "Phrase, 2 words: T, blank, N; C, blank, N" for the display " T _ N   C _ N";
// a phrase without blanks is read whole ("Phrase: TIN CAN").
std::string spelledPhrase(const std::string& display);

// "Missed: Q, Z, wrong phrase" for "Q Z # "; "Missed: none" when empty.
std::string missedLettersName(const std::string& missed);

// How a screen reader says one character of a phrase.
std::string spokenCharacter(char c);

// The words the windows' background pictures show, for a screen reader.
const char* windowDescription(platform::Window w);

// The buttons and edits in reading order, window by window: the order Tab
// moves the focus in keyboard play.
extern const std::array<int, 21> focusOrder;

// Gives every control its role, name and description (start-up, once the
// controls exist).
void describeControls(const ShownStates& states);

// Pushes the names that carry values, and the states of the switches, the
// players and the letter tiles, where they changed since the last push.
// Runs after every message the window procedure handles.
void refreshAccessibleNames(const ShownStates& states);

// What was last pushed, so that only changes go to the desktop.
struct PushedAccessibleNames {
    std::map<int, std::string> names;
    std::map<std::pair<int, platform::AccessibleState>, bool> states;
};
extern PushedAccessibleNames& accessibleNamesPushed;   // in app::programState

}  // namespace ui
