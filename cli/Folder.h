// The folder the game keeps its files in: finding it, holding its lock,
// reading the library as the game's start-up would, and storing it back.
#pragma once

#include <string>
#include <vector>

#include "library/AppPaths.h"
#include "library/PuzzleLibrary.h"

namespace cli {

// The folder --dir names (made absolute, nothing on disk touched), or
// without it the one the game beside this program uses, by the game's own
// rule and with the game's own preparation of it.
library::AppPaths locateFolder(const std::string& dirOption, const std::string& executablePath);

// Read: the folder must be there. Preview: reads, and a folder that is not
// there yet counts as an empty library (an import's --dry-run). Change: a
// folder that is not there is created when the change is stored.
enum class Access { Read, Preview, Change };

// Whether the folder can serve access; false, with a message naming it,
// when it cannot (not there for a read, a file, a dangling link, not
// writable for a change...). missing tells that it does not exist yet.
bool checkFolder(const std::string& directory, Access access, bool& missing, std::string& error);

// Checks the folder and takes its lock (kept to the end of the process).
// False, with the reason in error, when the folder cannot serve access,
// when a running game holds it, or when a change cannot be made safely
// because the folder takes no lock. A folder that is not there yet is
// neither made nor locked here: missing is set.
bool takeFolder(const library::AppPaths& paths, Access access, bool& missing, std::string& error);

struct LoadedLibrary {
    std::string plain;   // the records back to back, unscrambled
    std::vector<library::StoredRecord> records;
    std::string source;  // the file it came from; empty when there is none yet
    bool folderMissing = false;   // the folder is made when the library is stored
};

// OnLoad.dat unscrambled; without it, a library in KXData.dat (which the
// game then plays from); else an empty library. False when a file that is
// there cannot be read: nothing may then be written over it.
bool loadLibrary(const library::AppPaths& paths, LoadedLibrary& out, std::string& error);

// Writes the plain text scrambled to OnLoad.dat, replacing it in one step;
// first makes and locks the folder when it was not there.
bool storeLibrary(const library::AppPaths& paths, const LoadedLibrary& loaded, const std::string& plain,
                  std::string& error);

}  // namespace cli
