#include "cli/Folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "cli/LockHolder.h"
#include "library/AtomicFile.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"

namespace cli {

namespace {

// The paths the game builds, moved to dir: the file names stay the game's own.
app::AppPaths rebased(const app::AppPaths& p, const std::string& dir) {
    auto move = [&](const std::string& path) { return dir + path.substr(p.directory.size()); };
    app::AppPaths out;
    out.directory = dir;
    out.helpPath = move(p.helpPath);
    out.statsPath = move(p.statsPath);
    out.plainPuzzlePath = move(p.plainPuzzlePath);
    out.configPath = move(p.configPath);
    out.scrambledPuzzlePath = move(p.scrambledPuzzlePath);
    return out;
}

// The file's bytes; false, with the reason, when it is there but cannot be read.
bool readIfPresent(const std::string& path, std::string& bytes, bool& present, std::string& error) {
    switch (library::readFileIfPresent(path, bytes)) {
        case library::ReadOutcome::Read:
            present = true;
            return true;
        case library::ReadOutcome::Missing:
            present = false;
            return true;
        case library::ReadOutcome::Failed:
            break;
    }
    error = path + ": there, but cannot be read; nothing is written over it";
    return false;
}

std::string fileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

app::AppPaths locateFolder(const std::string& dirOption, const std::string& executablePath) {
    if (dirOption.empty()) return app::makeAppPaths(executablePath);
    // The paths of a game installed in dir, kept in dir whatever else the
    // game's rule would choose.
    std::string dir = dirOption;
    if (dir.back() != '/') dir += '/';
    const app::AppPaths there = app::makeAppPaths(dir + "tarvik-kxv");
    return there.directory == dir ? there : rebased(there, dir);
}

bool takeFolder(const app::AppPaths& paths, Access access, std::string& error) {
    const std::string where = paths.directory.empty() ? "." : paths.directory;
    struct stat st {};
    if (::stat(where.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = where + ": no such folder";
        return false;
    }
    const library::FolderLockState state = library::lockFolder(paths.directory);
    switch (state.result) {
        case library::LockResult::Taken:
            // What a killed run of this tool left behind goes now that the folder is ours.
            if (access == Access::Change) {
                library::removeLeftoverTemporaries(paths.directory, {fileName(paths.scrambledPuzzlePath)});
            }
            return true;
        case library::LockResult::HeldElsewhere:
            error = heldMessage(state, where) + " Nothing was changed.";
            return false;
        case library::LockResult::Unavailable:
            break;
    }
    // No lock file can be made: a folder this user may not write to. Reading
    // is still safe unless someone holds the lock; a change is not made.
    if (access == Access::Read) {
        const library::FolderLockState held = library::probeFolderLock(paths.directory);
        if (held.result != library::LockResult::HeldElsewhere) return true;
        error = heldMessage(held, where);
        return false;
    }
    error = "cannot take the lock of " + where + " (is the folder writable?). Nothing was changed.";
    return false;
}

bool loadLibrary(const app::AppPaths& paths, LoadedLibrary& out, std::string& error) {
    out = LoadedLibrary{};
    std::string bytes;
    bool present = false;
    if (!readIfPresent(paths.scrambledPuzzlePath, bytes, present, error)) return false;
    if (present) {
        out.plain = library::unscrambleBytes(bytes);
        out.source = paths.scrambledPuzzlePath;
    } else {
        // The game's start-up then leaves the plain file as it is and plays from it.
        if (!readIfPresent(paths.plainPuzzlePath, bytes, present, error)) return false;
        if (present && bytes != library::kPurgedText) {
            out.plain = std::move(bytes);
            out.source = paths.plainPuzzlePath;
        }
    }
    out.records = library::splitLibrary(out.plain);
    return true;
}

bool storeLibrary(const app::AppPaths& paths, const std::string& plain, std::string& error) {
    if (library::replaceFileAtomically(paths.scrambledPuzzlePath, library::scrambleBytes(plain))) return true;
    error = paths.scrambledPuzzlePath + ": cannot be written (" + std::strerror(errno) + "). Nothing was changed.";
    return false;
}

}  // namespace cli
