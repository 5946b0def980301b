// The configuration file and its two switches.
#pragma once

#include <cstdint>

namespace library {

// 0 unlocks: AddPuzzlesButton (Disable_Console), View and Delete (Disable_VCCntls).
extern std::int32_t& Disable_Console;   // in app::programState
extern std::int32_t& Disable_VCCntls;

// The file written on a first run: locked, with a note on how to unlock.
extern const char* const kDefaultConfig;

// 1 turns keyboard play on: a line "Keyboard_Play= 1" after the two switches.
extern std::int32_t& Keyboard_Play;   // in app::programState

// Reads the file, or creates it locked when it is missing.
void loadConfig();

// What a first run writes: both switches locked, with a note on unlocking.
const char* defaultConfigText();

}  // namespace library
