// The puzzle file: its record grammar and its scrambled form on disk.
#pragma once

#include <istream>
#include <string>

namespace library {

// The placeholder left in the plain file after an orderly exit.
inline constexpr const char* kPurgedText = "Data purged...";

// The position-dependent shift: offset (k mod 10) + 1 at position k, mod 256.
std::string scrambleBytes(const std::string& plain);
std::string unscrambleBytes(const std::string& scrambled);

// Start-up: the scrambled file, unscrambled, replaces the plain file.
// A missing scrambled file leaves the plain file as it is.
void unscramblePuzzleFile();

// Orderly exit: writes the plain file back scrambled and, only once that
// succeeded, purges the plain file. Closes the viewer's stream. Returns
// false when the scrambled file could not be written.
bool scramblePuzzleFile();

// A read up to delim that consumes and drops it; fails when it takes nothing
// at all (std::getline's rule).
bool readField(std::istream& in, std::string& field, char delim);

}  // namespace library
