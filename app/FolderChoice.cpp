#include "app/FolderChoice.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/CarryOver.h"
#include "library/AtomicFile.h"
#include "library/PuzzleFile.h"

#ifndef TARVIK_DATA_FROM_BINDIR
#define TARVIK_DATA_FROM_BINDIR "../share/games/tarvik-kxv/"
#endif
#ifndef TARVIK_EARLIER_FILES_FROM_BINDIR
#define TARVIK_EARLIER_FILES_FROM_BINDIR "../games/"
#endif

namespace app {

namespace {

using library::AppPaths;
using library::kLibraryFileName;
using library::pathsInFolder;

std::string executableDirectory(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    return slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
}

std::string withSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir.push_back('/');
    return dir;
}

// "/usr/games/../share/..." read as "/usr/share/...": the executable's
// directory is a real one, so the two name the same place.
std::string besideExecutable(const std::string& own, const char* relative) {
    return withSlash(std::filesystem::path(own + relative).lexically_normal().string());
}

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr)
        return account->pw_dir;
    return {};
}

}  // namespace

const char* installedDataFromExecutable() { return TARVIK_DATA_FROM_BINDIR; }
const char* earlierFilesFromExecutable() { return TARVIK_EARLIER_FILES_FROM_BINDIR; }

std::string dataFolder(const PathEnvironment& env) {
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (!env.xdgDataHome.empty() && env.xdgDataHome.front() == '/') {
        return withSlash(env.xdgDataHome) + kDataFolderName + "/";
    }
    if (env.home.empty()) return {};
    return withSlash(env.home) + ".local/share/" + kDataFolderName + "/";
}

std::string installedDataDirectory(const std::string& executablePath, const PathEnvironment& env) {
    const std::string own = executableDirectory(executablePath);
    // Only a program that knows its own folder can have been installed.
    if (own.empty()) return {};
    const std::string installed = besideExecutable(own, installedDataFromExecutable());
    if (installed == own || !env.isDirectory || !env.isDirectory(installed)) return {};
    return installed;
}

std::string shippedDataDirectory(const std::string& executablePath, const PathEnvironment& env) {
    const std::string installed = installedDataDirectory(executablePath, env);
    return installed.empty() ? executableDirectory(executablePath) : installed;
}

AppPaths chooseAppPaths(const std::string& executablePath, const PathEnvironment& env) {
    const std::string own = executableDirectory(executablePath);
    const std::string installed = installedDataDirectory(executablePath, env);
    const std::string shipped = installed.empty() ? own : installed;
    const std::string folder = dataFolder(env);
    // An install is never written into, whoever runs it and whether or not
    // they could: every installed copy shares the one data folder.
    if (!installed.empty() && !folder.empty()) return pathsInFolder(folder, shipped);
    if (env.writable && env.writable(own.empty() ? std::string(".") : own)) {
        return pathsInFolder(own, shipped);
    }
    // Without any home to put it in, the files stay where they always were.
    if (folder.empty()) return pathsInFolder(own, shipped);
    return pathsInFolder(folder, shipped);
}

std::vector<EarlierFolder> earlierFolders(const std::string& executablePath, const PathEnvironment& env,
                                          const AppPaths& chosen) {
    const std::string own = executableDirectory(executablePath);
    std::vector<EarlierFolder> out;
    if (chosen.directory == own) return out;
    if (installedDataDirectory(executablePath, env).empty()) {
        // A copy that is not installed and cannot write its own folder plays
        // on with its own files, copied.
        out.push_back({own.empty() ? std::string("./") : own, false});
        return out;
    }
    out.push_back({own, true});
    const std::string games = besideExecutable(own, earlierFilesFromExecutable());
    if (games != own && games != chosen.directory) out.push_back({games, true});
    return out;
}

bool prepareFolder(const AppPaths& paths, const std::string& shippedLibraryPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(paths.directory, ec);
    if (!fs::is_directory(paths.directory, ec)) return false;
    const bool hasLibrary = fs::exists(paths.scrambledPuzzlePath, ec);
    if (ec) return false;   // cannot tell: write nothing
    if (hasLibrary) return true;
    // A plain library left by a run that never exited in order is the only
    // copy of that run's changes: it is kept, and the shipped one not given.
    // So is one that cannot be read; only the purged text holds nothing.
    const bool hasPlain = fs::exists(paths.plainPuzzlePath, ec);
    if (ec) return false;
    if (hasPlain) {
        std::string plain;
        if (!library::readWholeFile(paths.plainPuzzlePath, plain) || plain != library::kPurgedText) return true;
    }
    std::string shipped;
    if (!library::readWholeFile(shippedLibraryPath, shipped)) return false;
    return library::replaceFileAtomically(paths.scrambledPuzzlePath, shipped);
}

AppPaths makeAppPaths(const std::string& executablePath, const PathEnvironment& env,
                      std::vector<std::string>* notes) {
    AppPaths paths = chooseAppPaths(executablePath, env);
    const std::string shipped = shippedDataDirectory(executablePath, env);
    if (paths.directory == shipped) return paths;
    std::vector<std::string> said;
    for (const EarlierFolder& earlier : earlierFolders(executablePath, env, paths)) {
        if (!earlier.move) {
            said.push_back(earlier.directory + " cannot be written: the game keeps its files in " +
                           paths.directory + ", which start from this folder's own");
        }
        carryOver(earlier.directory, paths, shipped + kLibraryFileName,
                  earlier.move ? CarryMode::Move : CarryMode::Copy, said);
    }
    prepareFolder(paths, shipped + kLibraryFileName);
    if (notes != nullptr) notes->insert(notes->end(), said.begin(), said.end());
    return paths;
}

PathEnvironment processEnvironment() {
    PathEnvironment env;
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) env.xdgDataHome = xdg;
    env.home = homeDirectory();
    env.writable = [](const std::string& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; };
    env.isDirectory = [](const std::string& dir) {
        std::error_code ec;
        return std::filesystem::is_directory(dir, ec);
    };
    return env;
}

AppPaths makeAppPaths(const std::string& executablePath, std::vector<std::string>* notes) {
    return makeAppPaths(executablePath, processEnvironment(), notes);
}

}  // namespace app
