#include "library/PuzzleFile.h"

#include "app/AppPaths.h"
#include "library/AtomicFile.h"
#include "library/PuzzleViewer.h"

namespace library {

namespace {

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

}  // namespace

std::string scrambleBytes(const std::string& plain) { return shift(plain, +1); }

std::string unscrambleBytes(const std::string& scrambled) { return shift(scrambled, -1); }

void unscramblePuzzleFile() {
    std::string scrambled;
    // No scrambled file: the plain file keeps whatever it holds.
    if (!readWholeFile(app::appPaths.scrambledPuzzlePath, scrambled)) return;
    // A failed write loses only the plain copy; the scrambled file is untouched.
    replaceFileAtomically(app::appPaths.plainPuzzlePath, unscrambleBytes(scrambled));
}

bool scramblePuzzleFile() {
    bool saved = false;
    std::string plain;
    if (readWholeFile(app::appPaths.plainPuzzlePath, plain)) {
        // Purge only once the puzzles are safely stored scrambled; otherwise
        // the plain file is the only copy of this run's changes.
        saved = replaceFileAtomically(app::appPaths.scrambledPuzzlePath, scrambleBytes(plain));
        if (saved) replaceFileAtomically(app::appPaths.plainPuzzlePath, kPurgedText);
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
