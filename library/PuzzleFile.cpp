#include "library/PuzzleFile.h"

#include <functional>

#include "library/AppPaths.h"
#include "library/AtomicFile.h"
#include "library/PuzzleViewer.h"

namespace library {

namespace {

bool& inHand = libraryFileState.inHand;
bool& alone = libraryFileState.alone;
std::size_t& knownPlain = libraryFileState.knownPlain;

std::size_t fingerprint(const std::string& bytes) { return std::hash<std::string>{}(bytes); }

// Offset of the byte at position k: 1, 2, ..., 10, then 1 again.
unsigned char offsetAt(std::size_t k) { return static_cast<unsigned char>(k % 10 + 1); }

// Shifts every byte by its offset, up (direction +1) or down (-1), mod 256.
std::string shift(const std::string& in, int direction) {
    std::string out(in.size(), '\0');
    for (std::size_t k = 0; k < in.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(in[k]);
        out[k] = static_cast<char>(static_cast<unsigned char>(c + direction * offsetAt(k)));
    }
    return out;
}

// Whether the plain file may be written over: this run holds the library
// and, without the lock, nobody else has changed the plain file meanwhile.
bool mayWrite(const std::string* plainNow) {
    if (!inHand) return false;
    if (alone) return true;
    if (plainNow != nullptr) return fingerprint(*plainNow) == knownPlain;
    std::string current;
    return readWholeFile(appPaths.plainPuzzlePath, current) && fingerprint(current) == knownPlain;
}

}  // namespace

std::string scrambleBytes(const std::string& plain) { return shift(plain, +1); }

std::string unscrambleBytes(const std::string& scrambled) { return shift(scrambled, -1); }

UnscrambleOutcome unscramblePuzzleFile() {
    const auto& paths = appPaths;
    inHand = false;
    std::string scrambled;
    switch (readFileIfPresent(paths.scrambledPuzzlePath, scrambled)) {
        case ReadOutcome::Missing: {
            // The plain file, whatever it holds, is the library of this folder.
            std::string plain;
            const ReadOutcome plainRead = readFileIfPresent(paths.plainPuzzlePath, plain);
            if (plainRead == ReadOutcome::Failed) return UnscrambleOutcome::Failed;
            inHand = true;
            knownPlain = fingerprint(plain);
            return UnscrambleOutcome::NoScrambledFile;
        }
        case ReadOutcome::Failed:
            // Unreadable: neither file is touched, now or at exit.
            return UnscrambleOutcome::Failed;
        case ReadOutcome::Read:
            break;
    }
    // A plain file this run may not read (mode 000, a refused link) is
    // someone's, not a copy of ours: it is never written over.
    if (presentButUnreadable(paths.plainPuzzlePath)) return UnscrambleOutcome::Failed;
    const std::string plain = unscrambleBytes(scrambled);
    // A failed write loses only the plain copy; the scrambled file is kept
    // and, since this run does not hold the library, never written over.
    // The plain file is made from the scrambled one at every start, so this
    // write need not wait for the disk: every later change of the library
    // goes to both files, flushed, before the game goes on.
    if (!replaceFileAtomically(paths.plainPuzzlePath, plain, Flush::Unflushed)) return UnscrambleOutcome::Failed;
    inHand = true;
    knownPlain = fingerprint(plain);
    return UnscrambleOutcome::Unscrambled;
}

bool libraryInHand() { return inHand; }

void setRunningAlone(bool runningAlone) { alone = runningAlone; }

bool runningAlone() { return alone; }

bool storeLibrary(const std::string& plain) {
    const auto& paths = appPaths;
    if (!mayWrite(nullptr)) return false;
    if (!replaceFileAtomically(paths.scrambledPuzzlePath, scrambleBytes(plain))) return false;
    if (!replaceFileAtomically(paths.plainPuzzlePath, plain)) {
        // The plain file is as it was: give the scrambled file the same content.
        std::string before;
        if (readWholeFile(paths.plainPuzzlePath, before)) {
            replaceFileAtomically(paths.scrambledPuzzlePath, scrambleBytes(before));
        }
        return false;
    }
    knownPlain = fingerprint(plain);
    return true;
}

bool scramblePuzzleFile() {
    bool saved = false;
    std::string plain;
    if (readWholeFile(appPaths.plainPuzzlePath, plain) && mayWrite(&plain)) {
        // Purge only once the puzzles are safely stored scrambled; otherwise
        // the plain file is the only copy of this run's changes.
        saved = replaceFileAtomically(appPaths.scrambledPuzzlePath, scrambleBytes(plain));
        if (saved && replaceFileAtomically(appPaths.plainPuzzlePath, kPurgedText)) {
            knownPlain = fingerprint(kPurgedText);
        }
    }
    closeViewerStream();
    return saved;
}

bool readField(std::istream& in, std::string& field, char delim) {
    // A failed read leaves the field empty, even when the stream was already
    // at its end (std::getline would then leave it untouched).
    field.clear();
    return static_cast<bool>(std::getline(in, field, delim));
}

}  // namespace library
