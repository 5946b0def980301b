#include "game/Draw.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string_view>

#include "game/RoundState.h"
#include "game/TextCase.h"
#include "library/AppPaths.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"
#include "ui/Notices.h"

namespace game {

namespace {

void clearRoundStrings() {
    auto& s = roundState;
    s.mask.clear();
    s.display.clear();
    s.answer.clear();
    s.workingCopy.clear();
    s.missedLetters.clear();
    s.hint.clear();
    s.plainAnswer.clear();
    s.underlay.clear();
}

// The file is counted in pieces closed by ';' (or by its end); a file of N
// records has N + 1 of them, and the first and last record are never drawn,
// so N - 2 records are drawable.
// A file that cannot be read as one (a directory of that name, say) counts
// as one that cannot be opened.
// A library this run could not unscramble (a full disk, say) is not played
// from whatever the plain file holds: the count stays 0, the missing-data case.
void countRecords() {
    if (!library::libraryInHand()) return;
    std::ifstream in(library::appPaths.plainPuzzlePath);
    if (!in.is_open()) return;
    std::int32_t pieces = 0;
    std::string piece;
    try {
        while (std::getline(in, piece, ';')) ++pieces;
    } catch (const std::ios_base::failure&) {
        return;
    }
    if (in.bad()) return;
    library::libraryState.recordCount = pieces - 3;
}

void seedOnce() {
    if (roundState.rngSeeded != 0) return;
    std::srand(static_cast<unsigned>(static_cast<std::uint32_t>(std::time(nullptr))));
    roundState.rngSeeded = 1;
}

// Reads records 0..pick; the phrase of the last one is left in workingCopy.
// A read that fails leaves its field empty, so a file that ends before the
// pick plays nothing rather than the last record it did read, and a record
// cut before its hint gets no hint rather than the one before it.
void readRecord(std::int32_t pick) {
    auto& s = roundState;
    std::ifstream in(library::appPaths.plainPuzzlePath);
    for (std::int32_t i = 0; i <= pick; ++i) {
        library::readField(in, s.workingCopy, ';');
        library::readField(in, s.hint, ':');
    }
}

// A space before every character: "GO" becomes " G O".
std::string spacedOut(const std::string& phrase) {
    std::string out;
    out.reserve(phrase.size() * 2);
    for (char c : phrase) {
        out.push_back(' ');
        out.push_back(c);
    }
    return out;
}

void buildStrings() {
    auto& s = roundState;
    upperCaseInPlace(s.workingCopy);
    s.plainAnswer = s.workingCopy;
    s.workingCopy = spacedOut(s.workingCopy);
    s.mask = s.workingCopy;
    s.display = s.workingCopy;
    s.answer = s.workingCopy;
}

// Hides every character of maskAlphabet: '*' in mask, '_' in display. One
// pass over the phrase, which gives what replacing the alphabet's
// characters one after another gives, since neither '*' nor '_' is among them.
void maskPhrase() {
    auto& s = roundState;
    const std::string_view hidden = maskAlphabet;
    for (std::size_t k = 0; k < s.mask.size() && k < s.display.size(); ++k) {
        if (hidden.find(s.mask[k]) == std::string_view::npos) continue;
        s.mask[k] = '*';
        s.display[k] = '_';
    }
    s.maskChar.clear();
    s.underlay = s.display;
}

}  // namespace

bool drawPuzzle() {
    auto& s = roundState;
    clearRoundStrings();
    if (s.gamesStarted <= 1) countRecords();

    bool drew = false;
    if (library::libraryState.recordCount > 2) {
        seedOnce();
        const std::int32_t pick = std::rand() % library::libraryState.recordCount + 1;
        readRecord(pick);
        // A phrase longer than any control holds is not played: no display
        // could show it, and every guess would have to walk all of it.
        drew = !s.workingCopy.empty() && s.workingCopy.size() <= kLongestPlayablePhrase;
        if (drew) {
            buildStrings();
            maskPhrase();
        } else {
            // The file ended before the record: nothing of it is played.
            clearRoundStrings();
        }
    }
    if (library::libraryState.recordCount == 0) ui::refuse(ui::Refusal::NoPuzzles);
    return drew;
}

void findAndFlag(const std::string& s, const std::string& text) {
    roundState.lastFindHit = s.find(text) != std::string::npos ? 1 : 0;
}

std::string& replaceAll(std::string& target, const std::string& search,
                        const std::string& replacement) {
    if (search.empty()) return target;
    std::string::size_type pos = 0;
    while ((pos = target.find(search, pos)) != std::string::npos) {
        target.replace(pos, search.size(), replacement);
        pos += replacement.size();
    }
    return target;
}

}  // namespace game
