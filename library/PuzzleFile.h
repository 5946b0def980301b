// The puzzle file: its record grammar and its scrambled form on disk.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace library {

// The placeholder left in the plain file after an orderly exit.
inline constexpr const char* kPurgedText = "Data purged...";

// The position-dependent shift: offset (k mod 10) + 1 at position k, mod 256.
std::string scrambleBytes(const std::string& plain);
std::string unscrambleBytes(const std::string& scrambled);

// What start-up made of the library.
enum class UnscrambleOutcome {
    Unscrambled,        // the plain file now holds the scrambled file's content, whole
    NoScrambledFile,    // none there: the plain file, as it is, is the library
    Failed,             // the scrambled file could not be read, or the plain one not written
};

// Start-up: the scrambled file, unscrambled, replaces the plain file.
// A missing scrambled file leaves the plain file as it is. Only after the
// first two outcomes does this run hold the library and write it back.
UnscrambleOutcome unscramblePuzzleFile();

// Whether this run holds the library: its start-up produced the plain file
// (or found it with no scrambled file beside it). Only then are the library's
// files written; a run that could not read them never writes over them.
bool libraryInHand();

// Whether this run holds the folder's lock. Without it (a folder that cannot
// hold one) another run may change the plain file, so every write of the
// library first checks that the plain file is still what this run left.
void setRunningAlone(bool alone);
bool runningAlone();

// A change of the library by an add or a delete: the new plain content goes
// to the scrambled file and then to the plain file, both replaced whole, so
// the change survives a crash of this run. False, with both files as they
// were, when this run does not hold the library or a write failed.
bool storeLibrary(const std::string& plain);

// Orderly exit: writes the plain file back scrambled and, only once that
// succeeded, purges the plain file. Closes the viewer's stream. Returns
// false when the scrambled file was not written (also when this run does not
// hold the library, which then stays as it is on disk).
bool scramblePuzzleFile();

// What this run holds of the library: whether it holds it, whether it holds
// the folder's lock, and what it last knew the plain file to hold (a hash of
// it), for runs without the folder's lock.
struct LibraryFileState {
    bool inHand = false;
    bool alone = true;
    std::size_t knownPlain = 0;
};
extern LibraryFileState& libraryFileState;   // in app::programState

// A read up to delim that consumes and drops it; fails when it takes nothing
// at all (std::getline's rule).
bool readField(std::istream& in, std::string& field, char delim);

}  // namespace library
