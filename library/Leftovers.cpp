#include "library/Leftovers.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/LinkPolicy.h"
#include "library/PuzzleFile.h"

namespace library {

namespace {

constexpr std::size_t kRandomLength = 6;

bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isRandomChar(char c) { return isLower(c) || isUpper(c) || isDigit(c); }

bool randomTail(const std::string& name, std::size_t from) {
    if (name.size() != from + kRandomLength) return false;
    for (std::size_t i = from; i < name.size(); ++i) {
        if (!isRandomChar(name[i])) return false;
    }
    return true;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// At most six decimal numbers, single spaces between them: a start of what
// the statistics are written as.
bool statisticsStart(const std::string& bytes) {
    if (bytes.size() > 6 * 11 + 5) return false;
    int numbers = 0;
    bool inNumber = false;
    bool digits = false;
    for (char c : bytes) {
        if (c == ' ') {
            if (!digits) return false;
            inNumber = digits = false;
        } else if (c == '-' && !inNumber) {
            inNumber = true;
            ++numbers;
        } else if (isDigit(c)) {
            if (!inNumber) ++numbers;
            inNumber = digits = true;
        } else {
            return false;
        }
    }
    return numbers <= 6;
}

// The content a file's old-shaped temporary may hold to count as one, read
// lazily: what a write of that file started from.
using ContentProof = std::function<bool(const std::string& bytes)>;

struct GameFile {
    std::string path;
    ContentProof proves;
};

std::string contentOf(const std::string& path) {
    std::string bytes;
    readWholeFile(path, bytes);
    return bytes;
}

std::vector<GameFile> gameFiles(const AppPaths& paths) {
    // The current library in both forms, read once and only when needed.
    auto plain = std::make_shared<std::optional<std::string>>();
    auto scrambled = std::make_shared<std::optional<std::string>>();
    auto plainNow = [plain, path = paths.plainPuzzlePath]() -> const std::string& {
        if (!*plain) *plain = contentOf(path);
        return **plain;
    };
    auto scrambledNow = [scrambled, path = paths.scrambledPuzzlePath]() -> const std::string& {
        if (!*scrambled) *scrambled = contentOf(path);
        return **scrambled;
    };
    return {
        // An exit's or a change's scramble of the plain file, or a rewrite of the same.
        {paths.scrambledPuzzlePath,
         [=](const std::string& b) {
             return startsWith(scrambledNow(), b) || startsWith(scrambleBytes(plainNow()), b);
         }},
        // A start's unscramble, a change's copy, or an exit's purge.
        {paths.plainPuzzlePath,
         [=](const std::string& b) {
             return startsWith(kPurgedText, b) || startsWith(unscrambleBytes(scrambledNow()), b) ||
                    startsWith(plainNow(), b);
         }},
        {paths.statsPath, statisticsStart},
        {paths.configPath, [](const std::string& b) { return startsWith(defaultConfigText(), b); }},
    };
}

bool ownPlainFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && (st.st_uid == ::geteuid() || ::geteuid() == 0);
}

bool provesOld(const std::string& full, const struct stat& st, const ContentProof& proves) {
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 07777) != 0600 || st.st_nlink != 1) {
        return false;
    }
    std::string bytes;
    return readWholeFile(full, bytes) && proves(bytes);
}

// Removes, in directory, the leftovers of the file called base.
void removeBeside(const std::string& directory, const std::string& base, const ContentProof& proves) {
    DIR* d = ::opendir(directory.c_str());
    if (d == nullptr) return;
    std::vector<std::string> doomed;
    while (const dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        const bool marked = isTemporaryFor(name, base);
        if (!marked && !hasOldTemporaryShape(name, base)) continue;
        const std::string full = directory + "/" + name;
        struct stat st {};
        if (::lstat(full.c_str(), &st) != 0) continue;
        if (marked ? ownPlainFile(st) : provesOld(full, st, proves)) doomed.push_back(full);
    }
    ::closedir(d);
    for (const auto& full : doomed) ::unlink(full.c_str());
}

}  // namespace

std::string temporaryPattern(const std::string& target) { return target + kTemporaryMark + "XXXXXX"; }

bool isTemporaryFor(const std::string& name, const std::string& base) {
    const std::string start = base + kTemporaryMark;
    return startsWith(name, start) && randomTail(name, start.size());
}

bool hasOldTemporaryShape(const std::string& name, const std::string& base) {
    if (!startsWith(name, base + ".") || !randomTail(name, base.size() + 1)) return false;
    bool laterCapital = false;
    bool small = false;
    for (std::size_t i = base.size() + 1; i < name.size(); ++i) {
        if (isUpper(name[i]) && i > base.size() + 1) laterCapital = true;
        if (isLower(name[i])) small = true;
    }
    return laterCapital && small;
}

void removeLeftovers(const AppPaths& paths) {
    for (const GameFile& f : gameFiles(paths)) {
        removeBeside(directoryOf(f.path), baseName(f.path), f.proves);
        // A write through a link made its temporary beside the link's target.
        std::string target;
        if (resolveFile(f.path, target) == Resolution::Followed && target != f.path) {
            removeBeside(directoryOf(target), baseName(target), f.proves);
        }
    }
}

}  // namespace library
