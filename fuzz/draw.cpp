// Counting and drawing: for any plain puzzle file the count follows the
// record grammar, a draw plays exactly the record picked, and the masked
// strings keep their layout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordGrammar.h"
#include "game/Draw.h"
#include "game/RoundState.h"
#include "game/TextCase.h"
#include "library/LibraryState.h"

namespace {

// The answer is the phrase in the game's capitals (Latin-1 letters too).
std::string upperPhrase(std::string s) {
    game::upperCaseInPlace(s);
    return s;
}

bool allRoundStringsEmpty() {
    const auto& s = game::roundState;
    return s.mask.empty() && s.display.empty() && s.answer.empty() && s.workingCopy.empty() &&
           s.missedLetters.empty() && s.hint.empty() && s.plainAnswer.empty() && s.underlay.empty();
}

// answer, workingCopy, mask, display and underlay: a space before every
// character of the phrase; letters and '#' hidden in mask and display.
void checkLayout(const std::string& file) {
    const auto& s = game::roundState;
    const std::string& phrase = s.plainAnswer;
    const std::size_t n = phrase.size();
    for (const std::string* t : {&s.answer, &s.workingCopy, &s.mask, &s.display, &s.underlay}) {
        FUZZ_CHECK(t->size() == 2 * n, fuzz::show(*t) + " for " + fuzz::show(phrase) + " in " + fuzz::show(file));
    }
    FUZZ_CHECK(s.workingCopy == s.answer && s.underlay == s.display, fuzz::show(file));
    for (std::size_t k = 0; k < n; ++k) {
        const char c = phrase[k];
        const bool hidden = (c >= 'A' && c <= 'Z') || c == '#';
        for (const std::string* t : {&s.answer, &s.mask, &s.display}) {
            FUZZ_CHECK((*t)[2 * k] == ' ', fuzz::show(*t) + " in " + fuzz::show(file));
        }
        FUZZ_CHECK(s.answer[2 * k + 1] == c, fuzz::show(s.answer) + " in " + fuzz::show(file));
        FUZZ_CHECK(s.mask[2 * k + 1] == (hidden ? '*' : c), fuzz::show(s.mask) + " in " + fuzz::show(file));
        FUZZ_CHECK(s.display[2 * k + 1] == (hidden ? '_' : c), fuzz::show(s.display) + " in " + fuzz::show(file));
    }
    FUZZ_CHECK(s.maskChar.empty(), "maskChar left as " + fuzz::show(s.maskChar));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    fuzz::resetProgram();
    fuzz::writeFile("KXData.dat", file);
    fuzz::takeLibrary();   // the plain file alone is the library

    const auto records = fuzz::readRecords(file);
    const int count = fuzz::countPieces(file) - 3;

    for (unsigned seed = 1; seed <= 3; ++seed) {
        auto& s = game::roundState;
        s.gamesStarted = 1;   // the first New Game of a run counts the file
        s.rngSeeded = 1;      // and the pick comes from the seed set here
        std::srand(seed);
        const int r = std::rand();
        std::srand(seed);
        const int beepsBefore = fuzz::beeps();

        const bool drew = game::drawPuzzle();

        FUZZ_CHECK(library::libraryState.recordCount == count,
                   "counted " + std::to_string(library::libraryState.recordCount) + " in " + fuzz::show(file));
        FUZZ_CHECK(fuzz::beeps() - beepsBefore == (count == 0 ? 1 : 0), fuzz::show(file));
        if (count <= 2) {
            FUZZ_CHECK(!drew && allRoundStringsEmpty(), "drew from " + fuzz::show(file));
            continue;
        }
        // Records 1 to count can be picked; one past the file's end, or one too
        // long for any control, plays nothing.
        const std::size_t pick = static_cast<std::size_t>(r % count + 1);
        const bool playable = pick < records.size() && !records[pick].phrase.empty() &&
                              records[pick].phrase.size() <= game::kLongestPlayablePhrase;
        FUZZ_CHECK(drew == playable, "record " + std::to_string(pick) + " of " + fuzz::show(file));
        if (!drew) {
            FUZZ_CHECK(allRoundStringsEmpty(), "strings left after no draw from " + fuzz::show(file));
            continue;
        }
        FUZZ_CHECK(s.plainAnswer == upperPhrase(records[pick].phrase),
                   fuzz::show(s.plainAnswer) + " as record " + std::to_string(pick) + " of " + fuzz::show(file));
        FUZZ_CHECK(s.hint == records[pick].hint,
                   fuzz::show(s.hint) + " as hint " + std::to_string(pick) + " of " + fuzz::show(file));
        FUZZ_CHECK(s.missedLetters.empty(), fuzz::show(file));
        checkLayout(file);
    }
    return 0;
}
