#include "library/AppPaths.h"

namespace library {

// In the order the paths have always been built: help, statistics, plain
// library, configuration, scrambled library.
AppPaths pathsInFolder(const std::string& directory, const std::string& helpDirectory) {
    AppPaths p;
    p.directory = directory;
    p.helpPath = helpDirectory + "Tarvik_kxv-help.chm";
    p.statsPath = directory + "KXStats.dat";
    p.plainPuzzlePath = directory + "KXData.dat";
    p.configPath = directory + "KXC_CONFIG.INI";
    p.scrambledPuzzlePath = directory + kLibraryFileName;
    return p;
}

}  // namespace library
