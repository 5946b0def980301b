// Where the program keeps its files: beside its own executable when the
// player can write there, otherwise in the player's data folder.
#pragma once

#include <functional>
#include <string>

namespace app {

struct AppPaths {
    std::string directory;   // with its trailing '/', or empty
    std::string helpPath;
    std::string statsPath;
    std::string plainPuzzlePath;
    std::string configPath;
    std::string scrambledPuzzlePath;
};

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

// Decides where the files live, without touching any file: the executable's
// directory when env.writable says so, otherwise the data folder
// ($XDG_DATA_HOME/tarvik-kxv/, or ~/.local/share/tarvik-kxv/ when that is
// unset or not absolute). The help file is read from the shipped data
// directory (below): for a build or an unpacked copy that is the
// executable's own, for an installed copy the installation's.
AppPaths chooseAppPaths(const std::string& executablePath, const PathEnvironment& env);

// Where the shipped library and help file of this executable lie: the
// installed data directory when it exists, else the executable's own.
std::string shippedDataDirectory(const std::string& executablePath, const PathEnvironment& env);

// Creates the folder of the paths and gives it the shipped library when it
// holds no library of its own (neither a scrambled file nor a live plain
// one). Never overwrites a file. Returns false when the folder could not be
// made ready.
bool prepareFolder(const AppPaths& paths, const std::string& shippedLibraryPath);

// Chooses, then prepares the chosen folder when the shipped library lies
// elsewhere: the data folder, or the own folder of an installed copy that
// the player may write (a per-user install). A build or an unpacked copy is
// left exactly as it is.
AppPaths makeAppPaths(const std::string& executablePath, const PathEnvironment& env);

// The one entry start-up uses: the above with this process's environment
// ($XDG_DATA_HOME, $HOME) and access(2) as the probe.
AppPaths makeAppPaths(const std::string& executablePath);

// The paths in use, set once at start-up.
extern AppPaths& appPaths;   // in app::programState

}  // namespace app
