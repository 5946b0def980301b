// The puzzle viewer: any plain puzzle file stepped through with any sequence
// of View, Delete, New Game's abort and appends. A record on show is the one
// the record grammar finds behind the records passed; a delete removes that
// record's bytes and leaves every other byte as it was; nothing else changes
// the file; every stored change is in the scrambled file at once.
//
// Input: one byte n, then n bytes of presses (each byte modulo 5: 0 and 1
// View, 2 Delete, 3 abort, 4 append), then the file's bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordGrammar.h"
#include "game/RoundState.h"
#include "library/AddPuzzle.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleViewer.h"
#include "platform/Desktop.h"
#include "ui/Controls.h"

namespace {

constexpr const char* kAppended = "zz top;band:";

// While a record is on show: the records passed are the file's first bytes,
// and the record on show is the grammar's record right behind them.
void checkRecordOnShow(const std::string& file) {
    const auto& v = library::puzzleViewer;
    if (v.step == 0 || v.deleteMode != 0 || v.currentPhrase.empty()) return;
    const std::string& kept = v.keptRecords;
    FUZZ_CHECK(file.compare(0, kept.size(), kept) == 0,
               "kept " + fuzz::show(kept) + " of " + fuzz::show(file));
    bool found = false;
    for (const auto& r : fuzz::readRecords(file)) {
        if (r.offset != kept.size()) continue;
        found = true;
        FUZZ_CHECK(r.phrase == v.currentPhrase && r.hint == v.currentHint,
                   "on show " + fuzz::show(v.currentPhrase) + "/" + fuzz::show(v.currentHint) +
                       " instead of " + fuzz::show(r.phrase) + "/" + fuzz::show(r.hint) + " in " +
                       fuzz::show(file));
    }
    FUZZ_CHECK(found, "no record at " + std::to_string(kept.size()) + " of " + fuzz::show(file));
    // The edit shows the phrase, or as much of it as an edit takes.
    const std::string shown = fuzz::text(ui::id::PhraseEdit);
    const std::size_t limit = library::kLongestShownField;
    FUZZ_CHECK(v.currentPhrase.compare(0, shown.size(), shown) == 0 && shown.size() <= limit &&
                   (shown.size() == limit || shown == v.currentPhrase),
               "the edit shows " + fuzz::show(shown) + " for " + fuzz::show(v.currentPhrase));
}

// The file without the record on show: the bytes before it, then every byte
// after its ':' (or nothing, when it ran to the end of the file).
std::string withoutRecordOnShow(const std::string& file) {
    const auto& v = library::puzzleViewer;
    const std::size_t start = v.keptRecords.size();
    const std::size_t end = std::min(file.size(), start + v.currentPhrase.size() + 1 + v.currentHint.size() + 1);
    return file.substr(0, start) + file.substr(end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t presses = std::min<std::size_t>(data[0] % 33, size - 1);
    const std::string actions(reinterpret_cast<const char*>(data) + 1, presses);
    std::string file(reinterpret_cast<const char*>(data) + 1 + presses, size - 1 - presses);

    fuzz::resetProgram();
    fuzz::writeFile("KXData.dat", file);
    fuzz::takeLibrary();
    auto& v = library::puzzleViewer;
    auto& count = library::libraryState.recordCount;
    bool stored = false;   // once a change is stored, the scrambled file follows every one

    for (const char a : actions) {
        const std::int32_t countBefore = count;
        switch (static_cast<unsigned char>(a) % 5) {
        case 0:
        case 1:
            library::onView(platform::Window::AddPuzzle);
            break;
        case 2: {
            const bool accepted = v.deleteMode == 0 && v.currentPhrase.size() >= 3;
            const std::string expected = accepted ? withoutRecordOnShow(file) : file;
            const std::string before = "deleting " + fuzz::show(v.currentPhrase) + " after " +
                                       fuzz::show(v.keptRecords) + " from " + fuzz::show(file);
            library::onDelete(platform::Window::AddPuzzle);
            FUZZ_CHECK(fuzz::readFile("KXData.dat") == expected,
                       "left " + fuzz::show(fuzz::readFile("KXData.dat")) + " " + before);
            FUZZ_CHECK(count == countBefore - (accepted ? 1 : 0), before);
            if (accepted) {
                FUZZ_CHECK(v.step == 0 && v.keptRecords.empty() && v.currentPhrase.empty(), before);
                stored = true;
            }
            file = expected;
            break;
        }
        case 3:
            library::AbortPuzzleViewing();
            break;
        default:
            FUZZ_CHECK(library::AppendPuzzleRecord(kAppended), "append failed");
            file += kAppended;
            FUZZ_CHECK(count == countBefore + 1 && v.step == 0 && v.keptRecords.empty(), "append");
            stored = true;
            break;
        }
        FUZZ_CHECK(fuzz::readFile("KXData.dat") == file,
                   "the file became " + fuzz::show(fuzz::readFile("KXData.dat")) + " instead of " + fuzz::show(file));
        if (stored) {
            FUZZ_CHECK(fuzz::readFile("OnLoad.dat") == library::scrambleBytes(file),
                       "the scrambled file does not hold " + fuzz::show(file));
        }
        checkRecordOnShow(file);
    }
    return 0;
}
