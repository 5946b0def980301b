// The folder the game keeps its files in: finding it, holding its lock,
// reading the library as the game's start-up would, and storing it back.
#pragma once

#include <string>
#include <vector>

#include "app/AppPaths.h"
#include "library/PuzzleLibrary.h"

namespace cli {

// The folder from --dir, or the one the game beside this program uses.
app::AppPaths locateFolder(const std::string& dirOption, const std::string& executablePath);

enum class Access { Read, Change };

// Takes the folder's lock (kept to the end of the process). False, with the
// reason in error, when a running game holds it, or when a change cannot be
// made safely because the folder takes no lock.
bool takeFolder(const app::AppPaths& paths, Access access, std::string& error);

struct LoadedLibrary {
    std::string plain;   // the records back to back, unscrambled
    std::vector<library::StoredRecord> records;
    std::string source;  // the file it came from; empty when there is none yet
};

// OnLoad.dat unscrambled; without it, a library in KXData.dat (which the
// game then plays from); else an empty library. False when a file that is
// there cannot be read: nothing may then be written over it.
bool loadLibrary(const app::AppPaths& paths, LoadedLibrary& out, std::string& error);

// Writes the plain text scrambled to OnLoad.dat, replacing it in one step.
bool storeLibrary(const app::AppPaths& paths, const std::string& plain, std::string& error);

}  // namespace cli
