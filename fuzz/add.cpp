// The add path: any phrase and hint typed into the add window, appended to
// any plain puzzle file (or to none). An accepted puzzle is one record at the
// end, reading back as typed (the phrase in lower case), with every earlier
// byte kept, and in the scrambled file at once; a refused one changes nothing.
//
// Input: the phrase, a NUL, the hint, a NUL, the file's bytes; without the
// second NUL there is no file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordGrammar.h"
#include "game/RoundState.h"
#include "library/AddPuzzle.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "ui/Controls.h"

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

bool plainText(const std::string& s) {
    for (const char c : s) {
        if (c < 32 || c > 126) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    const std::size_t second = first == std::string::npos ? first : input.find('\0', first + 1);
    const std::string phrase = input.substr(0, first);
    const std::string hint = first == std::string::npos ? "" : input.substr(first + 1, second - first - 1);
    const bool hasFile = second != std::string::npos;
    const std::string file = hasFile ? input.substr(second + 1) : "";

    fuzz::resetProgram();
    if (hasFile) fuzz::writeFile("KXData.dat", file);
    fuzz::takeLibrary();
    fuzz::type(ui::id::PhraseEdit, phrase);
    fuzz::type(ui::id::HintEdit, hint);
    const auto what = "adding " + fuzz::show(phrase) + "/" + fuzz::show(hint) + " to " + fuzz::show(file);

    library::onAdd(platform::Window::AddPuzzle);

    std::string after;
    const bool written = fuzz::readFile("KXData.dat", after);
    const bool accepted = written && after != file;
    // What the add window's fields can hold and the record grammar can store.
    const bool storable = phrase.size() >= 2 && phrase.size() <= 38 && hint.size() <= 34 &&
                          phrase.find(';') == std::string::npos && hint.find_first_of(";:") == std::string::npos;
    if (storable && plainText(phrase) && plainText(hint)) FUZZ_CHECK(accepted, what);
    if (!storable) FUZZ_CHECK(!accepted || phrase.size() > 38 || hint.size() > 34, what);

    if (!accepted) {
        FUZZ_CHECK(written == hasFile, what);
        std::string scrambled;
        FUZZ_CHECK(!fuzz::readFile("OnLoad.dat", scrambled), "a refused add stored something: " + what);
        FUZZ_CHECK(library::libraryState.recordCount == 0, what);
        FUZZ_CHECK(fuzz::text(ui::id::PhraseEdit) == phrase && fuzz::text(ui::id::HintEdit) == hint,
                   "the fields were cleared though nothing was added: " + what);
        return 0;
    }
    FUZZ_CHECK(after.size() > file.size() && after.compare(0, file.size(), file) == 0,
               "the earlier bytes changed: " + fuzz::show(after) + " " + what);
    const auto records = fuzz::readRecords(after.substr(file.size()));
    FUZZ_CHECK(records.size() == 1 && records[0].phrase == lowerAscii(phrase) &&
                   records[0].hint == (hint.empty() ? std::string("no hint available") : hint),
               "appended " + fuzz::show(after.substr(file.size())) + " " + what);
    FUZZ_CHECK(after.back() == ':', "the record is not closed: " + what);
    FUZZ_CHECK(library::libraryState.recordCount == 1, what);
    FUZZ_CHECK(fuzz::readFile("OnLoad.dat") == library::scrambleBytes(after),
               "the scrambled file does not hold the add: " + what);
    FUZZ_CHECK(fuzz::text(ui::id::PhraseEdit).empty() && fuzz::text(ui::id::HintEdit).empty(),
               "the fields kept their text after the add: " + what);
    return 0;
}
