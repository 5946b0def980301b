// The configuration file and its two switches.
#pragma once

#include <cstdint>

namespace library {

// 0 unlocks: AddPuzzlesButton (Disable_Console), View and Delete (Disable_VCCntls).
extern std::int32_t Disable_Console;
extern std::int32_t Disable_VCCntls;

// 1 turns keyboard play on: a line "Keyboard_Play= 1" after the two switches.
extern std::int32_t Keyboard_Play;

// Reads the file, or creates it locked when it is missing.
void loadConfig();

}  // namespace library
