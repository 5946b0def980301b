// The plain library as records, and the rules of a storable puzzle, which
// the library tool shares with the game.
#include <gtest/gtest.h>

#include <string>

#include "library/AtomicFile.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleLibrary.h"
#include "library/PuzzleRules.h"

using library::PuzzleFault;

namespace {

std::string joined(const std::vector<library::StoredRecord>& records, const std::string& plain) {
    std::string out;
    for (const auto& r : records) out += plain.substr(r.begin, r.end - r.begin);
    return out;
}

}  // namespace

TEST(LibraryRecords, SplitsAsTheViewerReadsAndSpansEveryByte) {
    const std::string plain = "cat;animal:a:b;x;y:last;z";
    const auto records = library::splitLibrary(plain);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].phrase, "cat");
    EXPECT_EQ(records[0].hint, "animal");
    EXPECT_EQ(records[1].phrase, "a:b");   // a ":" inside a phrase reads fine
    EXPECT_EQ(records[1].hint, "x;y");     // a ";" inside a hint reads fine too
    EXPECT_EQ(records[2].phrase, "last");
    EXPECT_EQ(records[2].hint, "z");
    EXPECT_TRUE(records[2].closedPhrase);
    EXPECT_FALSE(records[2].closedHint);   // the cut last record
    EXPECT_EQ(joined(records, plain), plain);
    EXPECT_EQ(records.back().end, plain.size());

    // Text after the last ":" without a ";" is a cut record of its own.
    const auto tail = library::splitLibrary("aa;1:\r\n");
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(tail[1].phrase, "\r\n");
    EXPECT_FALSE(tail[1].closedPhrase);
    EXPECT_TRUE(library::splitLibrary("").empty());
}

TEST(LibraryRecords, CountsDrawableRecordsAsTheGameDoes) {
    EXPECT_EQ(library::drawableCount(""), -3);
    EXPECT_EQ(library::drawableCount(library::kPurgedText), -2);
    EXPECT_EQ(library::drawableCount("a;1:b;2:"), 0);
    EXPECT_EQ(library::drawableCount("a;1:b;2:c;3:d;4:e;5:"), 3);
    EXPECT_EQ(library::drawableCount("a;1:b;2:c;3:d;4:e;5"), 3);    // no closing ":"
    EXPECT_EQ(library::drawableCount("a;1:b;2:c;x;y:d;4:e;5:"), 4);  // a ";" in a hint
}

TEST(LibraryRecords, NewRecordsGoBeforeTheLastAndEveryOneCanBeDrawn) {
    const std::string plain = "first;1:mid;2:last;3:";
    auto plan = library::planInsertion(library::splitLibrary(plain));
    EXPECT_FALSE(plan.startRecord);
    EXPECT_FALSE(plan.endRecord);
    EXPECT_EQ(library::insertRecords(plain, plan, "new;n:"), "first;1:mid;2:new;n:last;3:");

    // A cut tail stays behind the last complete record, untouched.
    const std::string cut = "first;1:mid;2:last;3:\n";
    plan = library::planInsertion(library::splitLibrary(cut));
    EXPECT_EQ(library::insertRecords(cut, plan, "new;n:"), "first;1:mid;2:new;n:last;3:\n");

    // Nothing yet: the frame records around the new ones.
    plan = library::planInsertion({});
    EXPECT_TRUE(plan.startRecord);
    EXPECT_TRUE(plan.endRecord);
    const std::string fresh = library::insertRecords("", plan, "a1;x:a2;y:a3;z:");
    EXPECT_EQ(fresh, std::string(library::kStartPhrase) + ";" + library::kStartHint + ":a1;x:a2;y:a3;z:" +
                         library::kEndPhrase + ";" + library::kEndHint + ":");
    EXPECT_EQ(library::drawableCount(fresh), 3);

    // One record: it stays the last, and the start record goes in front.
    plan = library::planInsertion(library::splitLibrary("only;1:"));
    EXPECT_TRUE(plan.startRecord);
    EXPECT_FALSE(plan.endRecord);
    EXPECT_EQ(library::insertRecords("only;1:", plan, "new;n:"),
              library::recordText(library::kStartPhrase, library::kStartHint) + "new;n:only;1:");
}

TEST(LibraryRecords, EraseTakesOutOneRecordAndNothingElse) {
    const std::string plain = "a;1:b;2:c;3";
    const auto records = library::splitLibrary(plain);
    EXPECT_EQ(library::eraseRecord(plain, records, 0), "b;2:c;3");
    EXPECT_EQ(library::eraseRecord(plain, records, 1), "a;1:c;3");
    EXPECT_EQ(library::eraseRecord(plain, records, 2), "a;1:b;2:");
}

TEST(LibraryRecords, TheFrameRecordsAreTheShippedLibrarysFirstAndLast) {
    std::string scrambled;
    ASSERT_TRUE(library::readWholeFile(std::string(TARVIK_SOURCE_DIR) + "/resources/OnLoad.dat", scrambled));
    const auto records = library::splitLibrary(library::unscrambleBytes(scrambled));
    ASSERT_GE(records.size(), 5u);
    EXPECT_EQ(records.front().phrase, library::kStartPhrase);
    EXPECT_EQ(records.front().hint, library::kStartHint);
    EXPECT_EQ(records.back().phrase, library::kEndPhrase);
    EXPECT_EQ(records.back().hint, library::kEndHint);
}

TEST(PuzzleRules, TheAddWindowsLimitsAndWhatTheGameCanPlay) {
    EXPECT_EQ(library::checkPuzzle("ab", ""), PuzzleFault::None);
    EXPECT_EQ(library::checkPuzzle("a", "x"), PuzzleFault::PhraseTooShort);
    EXPECT_EQ(library::checkPuzzle("", ""), PuzzleFault::PhraseTooShort);
    EXPECT_EQ(library::checkPuzzle(std::string(38, 'a'), std::string(34, 'h')), PuzzleFault::None);
    EXPECT_EQ(library::checkPuzzle(std::string(39, 'a'), ""), PuzzleFault::PhraseTooLong);
    EXPECT_EQ(library::checkPuzzle("ab", std::string(35, 'h')), PuzzleFault::HintTooLong);
    EXPECT_EQ(library::checkPuzzle("a;b", ""), PuzzleFault::PhraseHoldsSemicolon);
    EXPECT_EQ(library::checkPuzzle("a:b", "fine"), PuzzleFault::None);
    EXPECT_EQ(library::checkPuzzle("ab", "x:y"), PuzzleFault::HintHoldsTerminator);
    EXPECT_EQ(library::checkPuzzle("ab", "x;y"), PuzzleFault::HintHoldsTerminator);
    for (const char* control : {"a\nb", "a\tb", "a\x7f", "a\x85z"}) {
        EXPECT_EQ(library::checkPuzzle(control, ""), PuzzleFault::ControlCharacter) << control;
        EXPECT_EQ(library::checkPuzzle("ab", control), PuzzleFault::ControlCharacter) << control;
    }
    // Nothing for the tiles to uncover: digits, "#", letters beyond A to Z.
    EXPECT_EQ(library::checkPuzzle("1984", "a year"), PuzzleFault::NoLetterToGuess);
    EXPECT_EQ(library::checkPuzzle("##", ""), PuzzleFault::NoLetterToGuess);
    EXPECT_EQ(library::checkPuzzle("\xe9\xe9", ""), PuzzleFault::NoLetterToGuess);
    EXPECT_EQ(library::checkPuzzle("caf\xe9", "Latin-1 \xe9"), PuzzleFault::None);
}

TEST(PuzzleRules, DuplicatesIgnoreCaseAlsoOfAccentedLetters) {
    EXPECT_EQ(library::phraseKey("Hello World"), library::phraseKey("hello world"));
    EXPECT_EQ(library::phraseKey("\xc9t\xc9"), library::phraseKey("\xe9t\xe9"));   // ÉTÉ, été
    EXPECT_NE(library::phraseKey("\xd7"), library::phraseKey("\xf7"));            // × and ÷ are no letters
    EXPECT_NE(library::phraseKey("hello"), library::phraseKey("hello "));
}
