// Where the program keeps its files: beside its own executable.
#pragma once

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

// Builds the paths from the executable's full path.
AppPaths makeAppPaths(const std::string& executablePath);

// The paths in use, set once at start-up.
extern AppPaths appPaths;

}  // namespace app
