// The paths of the program's files: where the player's library, statistics
// and configuration lie, and the help file read. Which folder they name is
// chosen by app at start-up (app/FolderChoice.h).
#pragma once

#include <string>

namespace library {

struct AppPaths {
    std::string directory;   // with its trailing '/', or empty
    std::string helpPath;
    std::string statsPath;
    std::string plainPuzzlePath;
    std::string configPath;
    std::string scrambledPuzzlePath;
};

// The scrambled library's file name, in a player's folder and as shipped.
inline constexpr const char* kLibraryFileName = "OnLoad.dat";

// The paths of the files in directory itself (with its trailing '/'), the
// help read from helpDirectory: for the folder chosen at start-up, or one
// named outright, where nothing is chosen, moved or prepared.
AppPaths pathsInFolder(const std::string& directory, const std::string& helpDirectory);

// The paths in use, set once at start-up.
extern AppPaths& appPaths;   // in app::programState

}  // namespace library
