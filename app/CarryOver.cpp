#include "app/CarryOver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"

namespace app {

using library::AppPaths;

namespace {

namespace fs = std::filesystem;

constexpr const char* kZeroStats = "0 0 0 0 0 0";

struct FileState {
    bool present = false;
    bool readable = false;
    std::string bytes;
    fs::file_time_type time{};
};

FileState look(const std::string& path) {
    FileState s;
    switch (library::readFileIfPresent(path, s.bytes)) {
        case library::ReadOutcome::Missing:
            return s;
        case library::ReadOutcome::Failed:
            s.present = true;
            return s;
        case library::ReadOutcome::Read:
            break;
    }
    s.present = s.readable = true;
    std::error_code ec;
    s.time = fs::last_write_time(path, ec);
    return s;
}

// A regular file of the running user's own, not a link: the only kind that
// is moved out of a folder.
bool ownRegularFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

bool same(const FileState& a, const FileState& b) { return a.readable && b.readable && a.bytes == b.bytes; }

// Whether a file in the target folder may be written over without losing
// anything of the player's. `firstStart` is what a first start writes there;
// a deliberate reset or lock saves the same bytes, so such a file only gives
// way to an earlier one that is at least as new.
bool disposable(const FileState& there, const FileState& earlier, const std::string& firstStart) {
    if (!there.present) return true;
    if (same(there, earlier)) return true;
    return there.readable && there.bytes == firstStart && earlier.readable && there.time <= earlier.time;
}

class Carrier {
public:
    Carrier(const std::string& from, const AppPaths& to, CarryMode mode, std::vector<std::string>& notes)
        : from_(from), to_(to), mode_(mode), notes_(notes) {}

    void library(const std::string& shippedLibraryPath) {
        const AppPaths src = library::pathsInFolder(from_, "");
        const std::string& srcScrambled = src.scrambledPuzzlePath;
        const std::string& srcPlain = src.plainPuzzlePath;
        const FileState scrambled = look(srcScrambled);
        const FileState plain = look(srcPlain);
        const bool livePlain = plain.present && !(plain.readable && plain.bytes == library::kPurgedText);
        if (!scrambled.present && !livePlain) {
            // A purged plain file holds nothing: it goes with the folder.
            if (plain.present) removeEarlier({srcPlain});
            return;
        }
        std::vector<std::string> sources;
        if (scrambled.present) sources.push_back(srcScrambled);
        if (plain.present) sources.push_back(srcPlain);
        if (!takeable(sources) || !readable(scrambled, srcScrambled) || !readable(plain, srcPlain)) return;

        std::string shipped;
        const bool haveShipped = library::readWholeFile(shippedLibraryPath, shipped);
        const FileState thereScrambled = look(to_.scrambledPuzzlePath);
        const FileState therePlain = look(to_.plainPuzzlePath);
        // The library there holds nothing of the player's when it is the
        // shipped one, or already the earlier one, and its plain file holds
        // nothing beyond it.
        const bool scrambledFree = !thereScrambled.present || same(thereScrambled, scrambled) ||
                                   (haveShipped && thereScrambled.readable && thereScrambled.bytes == shipped);
        const bool plainFree =
            !therePlain.present || same(therePlain, plain) ||
            (therePlain.readable &&
             (therePlain.bytes == library::kPurgedText ||
              (thereScrambled.readable && therePlain.bytes == library::unscrambleBytes(thereScrambled.bytes))));
        if (!scrambledFree || !plainFree) {
            kept(sources.front(), to_.scrambledPuzzlePath, "puzzle library");
            return;
        }
        if (!ensureFolder()) return;
        if (scrambled.present && !write(to_.scrambledPuzzlePath, scrambled.bytes)) return;
        if (livePlain && !write(to_.plainPuzzlePath, plain.bytes)) return;
        if (!scrambled.present && thereScrambled.present) {
            // Only the plain file holds the earlier library: a shipped one
            // beside it would be unscrambled over it at the next start.
            std::error_code ec;
            if (!fs::remove(to_.scrambledPuzzlePath, ec) && ec) {
                failed(to_.scrambledPuzzlePath, "could not be removed");
                return;
            }
        }
        removeEarlier(sources);
    }

    void single(const char* name, const std::string& target, const std::string& firstStart) {
        const std::string source = from_ + name;
        const FileState earlier = look(source);
        if (!earlier.present) return;
        if (!takeable({source}) || !readable(earlier, source)) return;
        const FileState there = look(target);
        if (!disposable(there, earlier, firstStart)) {
            kept(source, target, name);
            return;
        }
        if (!ensureFolder()) return;
        if (!same(there, earlier) && !write(target, earlier.bytes)) return;
        removeEarlier({source});
    }

    bool complete() const { return complete_; }

private:
    bool takeable(const std::vector<std::string>& sources) {
        if (mode_ == CarryMode::Copy) return true;
        for (const auto& s : sources) {
            if (!ownRegularFile(s)) {
                failed(s, "is not the player's own file: left where it is");
                return false;
            }
        }
        return true;
    }
    bool readable(const FileState& s, const std::string& path) {
        if (!s.present || s.readable) return true;
        failed(path, "cannot be read: left where it is");
        return false;
    }
    bool ensureFolder() {
        std::error_code ec;
        fs::create_directories(to_.directory, ec);
        if (fs::is_directory(to_.directory, ec)) return true;
        failed(to_.directory, "cannot be made: the earlier files stay where they are");
        return false;
    }
    bool write(const std::string& path, const std::string& bytes) {
        if (library::replaceFileAtomically(path, bytes)) return true;
        failed(path, "could not be written: the earlier files stay where they are");
        return false;
    }
    void removeEarlier(const std::vector<std::string>& sources) {
        if (mode_ == CarryMode::Copy) return;
        for (const auto& s : sources) {
            std::error_code ec;
            if (!fs::remove(s, ec) && ec) failed(s, "is in the data folder now, but could not be removed");
        }
    }
    void kept(const std::string& source, const std::string& target, const std::string& what) {
        complete_ = false;
        if (mode_ == CarryMode::Copy) return;   // said once for the whole folder
        notes_.push_back("kept " + source + ": " + target + " holds another " + what +
                         ", which stays in use");
    }
    void failed(const std::string& path, const std::string& why) {
        complete_ = false;
        notes_.push_back(path + " " + why);
    }

    std::string from_;
    const AppPaths& to_;
    CarryMode mode_;
    std::vector<std::string>& notes_;
    bool complete_ = true;
};

}  // namespace

bool carryOver(const std::string& from, const AppPaths& to, const std::string& shippedLibraryPath,
               CarryMode mode, std::vector<std::string>& notes) {
    std::string folder = from.empty() ? std::string("./") : from;
    if (folder.back() != '/') folder.push_back('/');
    if (folder == to.directory) return true;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return true;
    // A game running in either folder would write its own files at its end.
    if (library::probeFolderLock(to.directory).result == library::LockResult::HeldElsewhere) return false;
    if (mode == CarryMode::Move) {
        if (library::probeFolderLock(folder).result == library::LockResult::HeldElsewhere) {
            notes.push_back("a game is running in " + folder + ": its files are moved at a later start");
            return false;
        }
        // Files that cannot be removed from there would only be copied.
        if (::access(folder.c_str(), W_OK | X_OK) != 0) return true;
    }
    Carrier carrier(folder, to, mode, notes);
    carrier.library(shippedLibraryPath);
    carrier.single("KXStats.dat", to.statsPath, kZeroStats);
    carrier.single("KXC_CONFIG.INI", to.configPath, library::kDefaultConfig);
    return carrier.complete();
}

}  // namespace app
