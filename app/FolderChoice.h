// Where the program keeps its files: an installed copy always in the
// player's data folder; a copy that is not installed (a build, a folder
// unpacked anywhere) beside its own executable, or in the data folder when
// its own folder cannot be written.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "library/AppPaths.h"

namespace app {

// The name of the per-user data folder under $XDG_DATA_HOME.
inline constexpr const char* kDataFolderName = "tarvik-kxv";

// What the choice depends on besides the executable's path.
struct PathEnvironment {
    std::string xdgDataHome;   // $XDG_DATA_HOME; empty when unset
    std::string home;          // the player's home directory
    // Whether the player may create and replace files in the directory.
    std::function<bool(const std::string& directory)> writable;
    // Whether the directory exists (to find the installed data files).
    std::function<bool(const std::string& directory)> isDirectory;
};

// The installed data files' directory, relative to the executable's own
// (for example "../share/games/tarvik-kxv/"); set by the build.
const char* installedDataFromExecutable();

// Where earlier installs kept the player's files beside the program, relative
// to the executable's own directory ("../games/" for a program in bin/,
// "./" for one still in games/); set by the build.
const char* earlierFilesFromExecutable();

// The installed data directory of this executable when it is an installed
// copy (the directory exists); empty for any other copy.
std::string installedDataDirectory(const std::string& executablePath, const PathEnvironment& env);

// Where the shipped library and help file of this executable lie: the
// installed data directory, else the executable's own.
std::string shippedDataDirectory(const std::string& executablePath, const PathEnvironment& env);

// The player's data folder: $XDG_DATA_HOME/tarvik-kxv/, or
// ~/.local/share/tarvik-kxv/ when that is unset or not absolute; empty when
// there is no home at all.
std::string dataFolder(const PathEnvironment& env);

// Decides where the files live, without touching any file: the data folder
// for an installed copy, whoever runs it; the executable's directory for any
// other copy that may write it, else the data folder. The help file is read
// from the shipped data directory.
library::AppPaths chooseAppPaths(const std::string& executablePath, const PathEnvironment& env);

// Folders whose files a start brings into the chosen folder: an installed
// copy moves what it (or an earlier install in games/) kept beside itself;
// a copy whose own folder cannot be written copies its files from there.
struct EarlierFolder {
    std::string directory;
    bool move = false;   // false: copied, the folder left as it is
};
std::vector<EarlierFolder> earlierFolders(const std::string& executablePath, const PathEnvironment& env,
                                          const library::AppPaths& chosen);

// Creates the folder of the paths and gives it the shipped library when it
// holds no library of its own (neither a scrambled file nor a live plain
// one). Never overwrites a file. Returns false when the folder could not be
// made ready.
bool prepareFolder(const library::AppPaths& paths, const std::string& shippedLibraryPath);

// Chooses, then readies the chosen folder when it is not where the shipped
// files lie: the earlier files brought in (earlierFolders), the shipped
// library given when there is still none. A build or an unpacked copy that
// may write its own folder is left exactly as it is. What the player should
// hear of (files kept in two places, a folder that cannot be written) goes
// to notes.
library::AppPaths makeAppPaths(const std::string& executablePath, const PathEnvironment& env,
                               std::vector<std::string>* notes = nullptr);

// This process's environment ($XDG_DATA_HOME, $HOME) with access(2) as the probe.
PathEnvironment processEnvironment();

// The one entry start-up uses: the above with processEnvironment().
library::AppPaths makeAppPaths(const std::string& executablePath,
                               std::vector<std::string>* notes = nullptr);

}  // namespace app
