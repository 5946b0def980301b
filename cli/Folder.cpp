#include "cli/Folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/FolderChoice.h"
#include "cli/LockHolder.h"
#include "library/AtomicFile.h"
#include "library/FolderLock.h"
#include "library/Leftovers.h"
#include "library/PuzzleFile.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

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

std::string withoutSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

std::string userName() {
    const passwd* account = getpwuid(geteuid());
    return account != nullptr && account->pw_name != nullptr ? account->pw_name : "uid " + std::to_string(geteuid());
}

std::string notWritable(const std::string& dir) {
    return dir + ": the user " + userName() + " may not write in this folder. Nothing was changed.";
}

// The closest folder above a path that is not there yet, and whether a
// folder can be made below it. False, with the reason, when it cannot.
bool creatable(const std::string& dir, std::string& error) {
    fs::path above = fs::path(dir).parent_path();
    std::error_code ec;
    while (!above.empty() && !fs::exists(fs::symlink_status(above, ec))) {
        if (above == above.parent_path()) break;
        above = above.parent_path();
    }
    struct stat st {};
    if (above.empty() || ::stat(above.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = dir + ": cannot be created, " + above.string() + " is not a folder. Nothing was changed.";
        return false;
    }
    if (::access(above.c_str(), W_OK | X_OK) != 0) {
        error = dir + ": cannot be created, the user " + userName() + " may not write in " + above.string() +
                ". Nothing was changed.";
        return false;
    }
    return true;
}

bool holdsLibrary(const library::AppPaths& paths) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(paths.scrambledPuzzlePath, ec)) ||
           fs::exists(fs::symlink_status(paths.plainPuzzlePath, ec));
}

}  // namespace

library::AppPaths locateFolder(const std::string& dirOption, const std::string& executablePath) {
    if (dirOption.empty()) return app::makeAppPaths(executablePath);
    // The game's files in dir itself: a folder named outright is used as
    // it is, and no other folder is chosen, filled or emptied for it.
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(dirOption), ec);
    std::string dir = ec ? dirOption : absolute.string();
    if (dir.back() != '/') dir += '/';
    return library::pathsInFolder(dir,
                                  app::shippedDataDirectory(dir + "tarvik-kxv", app::processEnvironment()));
}

bool checkFolder(const std::string& directory, Access access, bool& missing, std::string& error) {
    const std::string dir = directory.empty() ? std::string(".") : withoutSlash(directory);
    missing = false;
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) {
        const int why = errno;
        if (why == ENOENT) {
            if (access == Access::Read) {
                error = dir + ": no such folder";
                return false;
            }
            missing = true;
            return creatable(dir, error);
        }
        if (why == ENOTDIR) {
            error = dir + ": not a folder (a part of the path is a file)";
        } else {
            error = dir + ": cannot be looked at (" + std::strerror(why) + ")";
        }
        return false;
    }
    if (S_ISLNK(st.st_mode) && ::stat(dir.c_str(), &st) != 0) {
        std::error_code ec;
        const fs::path target = fs::read_symlink(dir, ec);
        error = dir + ": a link to " + (ec ? std::string("a folder") : target.string()) +
                ", which cannot be reached (" + std::strerror(errno) + ")";
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = dir + ": not a folder";
        return false;
    }
    if (::access(dir.c_str(), X_OK) != 0) {
        error = dir + ": the user " + userName() + " may not open the files in this folder";
        return false;
    }
    if (access == Access::Change && ::access(dir.c_str(), W_OK) != 0) {
        error = notWritable(dir);
        return false;
    }
    return true;
}

bool takeFolder(const library::AppPaths& paths, Access access, bool& missing, std::string& error) {
    const std::string where = paths.directory.empty() ? "." : withoutSlash(paths.directory);
    if (!checkFolder(paths.directory, access, missing, error)) return false;
    if (missing) return true;
    // A reading of a folder that holds no library has nothing to guard: no
    // lock file is left in a folder that only was looked at.
    if (access != Access::Change && !holdsLibrary(paths)) return true;
    const library::FolderLockState state = library::lockFolder(paths.directory, library::LockTaker::Tool);
    switch (state.result) {
        case library::LockResult::Taken:
            // What a killed run of this tool left behind goes now that the folder is ours.
            if (access == Access::Change) library::removeLeftovers(paths);
            return true;
        case library::LockResult::HeldElsewhere:
            error = heldMessage(state, where) + " Nothing was changed.";
            return false;
        case library::LockResult::Unsafe:
            error = state.lockFile + " " + library::describeUnsafeLock(state.unsafe) +
                    ", so the folder cannot be locked safely. Nothing was changed.";
            return false;
        case library::LockResult::Unavailable:
            break;
    }
    // No lock file can be made: a folder this user may not write to. Reading
    // is still safe unless someone holds the lock; a change is not made.
    if (access != Access::Change) {
        const library::FolderLockState held = library::probeFolderLock(paths.directory);
        if (held.result != library::LockResult::HeldElsewhere) return true;
        error = heldMessage(held, where);
        return false;
    }
    error = "cannot take the lock of " + where + " (is the folder writable?). Nothing was changed.";
    return false;
}

bool loadLibrary(const library::AppPaths& paths, LoadedLibrary& out, std::string& error) {
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

bool storeLibrary(const library::AppPaths& paths, const LoadedLibrary& loaded, const std::string& plain,
                  std::string& error) {
    if (loaded.folderMissing) {
        // Made only now, so that a refused or empty change leaves no folder behind.
        const std::string dir = withoutSlash(paths.directory);
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) {
            error = dir + ": cannot be created (" + ec.message() + "). Nothing was changed.";
            return false;
        }
        if (library::lockFolder(paths.directory).result != library::LockResult::Taken) {
            error = "cannot take the lock of " + dir + ". Nothing was changed.";
            return false;
        }
        // Someone else may have put a library there meanwhile: it is not replaced unread.
        if (fs::exists(fs::symlink_status(paths.scrambledPuzzlePath, ec)) ||
            fs::exists(fs::symlink_status(paths.plainPuzzlePath, ec))) {
            error = dir + ": a library appeared there while this command ran; run it again. Nothing was changed.";
            return false;
        }
    }
    if (library::replaceFileAtomically(paths.scrambledPuzzlePath, library::scrambleBytes(plain))) return true;
    error = paths.scrambledPuzzlePath + ": cannot be written (" + std::strerror(errno) + "). Nothing was changed.";
    return false;
}

}  // namespace cli
