#include "app/AppPaths.h"

namespace app {

AppPaths appPaths;

AppPaths makeAppPaths(const std::string& executablePath) {
    AppPaths p;
    const auto slash = executablePath.rfind('/');
    if (slash != std::string::npos) p.directory = executablePath.substr(0, slash + 1);
    p.helpPath = p.directory + "Tarvik_kxv-help.chm";
    p.statsPath = p.directory + "KXStats.dat";
    p.plainPuzzlePath = p.directory + "KXData.dat";
    p.configPath = p.directory + "KXC_CONFIG.INI";
    p.scrambledPuzzlePath = p.directory + "OnLoad.dat";
    return p;
}

}  // namespace app
