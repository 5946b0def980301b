// What the commands share: opening the library and telling its state.
#pragma once

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Folder.h"

namespace cli {

// Takes the folder and reads the library, complaining on failure. A reading
// command lets the lock go once the library is read; a change keeps it to
// the end of the process.
bool openLibrary(const Context& c, Access access, LoadedLibrary& library);

// "The library holds N records; New Game draws from M of them." and a note
// when the game would draw nothing.
std::string libraryState(const std::string& plain);

// Stores the library, complaining on failure.
bool storeOrComplain(const Context& c, const LoadedLibrary& lib, const std::string& plain);

// The library's phrases and those of the frame records a change will add:
// an added phrase may be none of them.
std::vector<std::string> takenPhrases(const LoadedLibrary& lib, const library::InsertionPlan& plan);

}  // namespace cli
