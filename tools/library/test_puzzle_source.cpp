// Checks of the puzzle source parser: what it accepts, and that every
// broken limit is refused with the number of the offending line.
#include <gtest/gtest.h>

#include <string>

#include "PuzzleSource.h"

using puzzle_source::buildLibraryText;
using puzzle_source::parsePuzzleSource;

namespace {

const std::string kHead = "tarvik kxv library start\tStart\n";  // line 1
const std::string kTail =
    "first filler\tFiller\nsecond filler\tFiller\nthird filler\tFiller\n"
    "tarvik kxv library end\tEnd\n";

// A valid library with one line of interest on line 2.
std::string withLine(const std::string& line) { return kHead + line + "\n" + kTail; }

// The single error expected for a broken line 2, or "" when there is none
// or more than one.
std::string onlyError(const std::string& source) {
    auto r = parsePuzzleSource(source);
    return r.errors.size() == 1 ? r.errors.front() : std::string();
}

bool accepted(const std::string& line) { return parsePuzzleSource(withLine(line)).errors.empty(); }

bool refusedOnLine2(const std::string& line, const std::string& words) {
    const std::string e = onlyError(withLine(line));
    return e.rfind("line 2: ", 0) == 0 && e.find(words) != std::string::npos;
}

}  // namespace

TEST(PuzzleSource, ReadsRecordsInOrderSkippingCommentsAndEmptyLines) {
    const std::string src =
        "# comment\n\ntarvik kxv library start\tStart\n# another\n"
        "it's a dog's life!\tSaying, or is it?\n\nsalt & pepper\tPair\n"
        "one, two\tCount\nfour-leaf clover\tLucky 4\n"
        "tarvik kxv library end\tEnd";  // no line end at the end of the file
    auto r = parsePuzzleSource(src);
    ASSERT_TRUE(r.errors.empty()) << r.errors.front();
    ASSERT_EQ(r.puzzles.size(), 6u);
    EXPECT_EQ(r.puzzles[1].phrase, "it's a dog's life!");
    EXPECT_EQ(r.puzzles[1].hint, "Saying, or is it?");
    EXPECT_EQ(r.puzzles[1].line, 5);
    EXPECT_EQ(r.puzzles[5].line, 10);
    EXPECT_EQ(buildLibraryText(r.puzzles),
              "tarvik kxv library start;Start:it's a dog's life!;Saying, or is it?:"
              "salt & pepper;Pair:one, two;Count:four-leaf clover;Lucky 4:"
              "tarvik kxv library end;End:");
}

TEST(PuzzleSource, PhraseAndHintLengthLimits) {
    EXPECT_TRUE(accepted("ab\tTwo letters"));
    EXPECT_TRUE(refusedOnLine2("a\tOne letter", "phrase has 1 characters"));
    EXPECT_TRUE(refusedOnLine2("\tNo phrase", "phrase has 0 characters"));
    EXPECT_TRUE(accepted(std::string(38, 'x') + "\tLongest"));
    EXPECT_TRUE(refusedOnLine2(std::string(39, 'x') + "\tToo long", "phrase has 39"));
    EXPECT_TRUE(accepted("short hint\tH"));
    EXPECT_TRUE(refusedOnLine2("empty hint\t", "hint has 0"));
    EXPECT_TRUE(accepted("long hint\t" + std::string(34, 'h')));
    EXPECT_TRUE(refusedOnLine2("too long hint\t" + std::string(35, 'h'), "hint has 35"));
}

TEST(PuzzleSource, RefusesCharactersThePhraseMayNotHold) {
    EXPECT_TRUE(refusedOnLine2("Capital\tCase", "lower case"));
    EXPECT_TRUE(refusedOnLine2("semi;colon\tX", "';'"));
    EXPECT_TRUE(refusedOnLine2("co:lon\tX", "':'"));
    EXPECT_TRUE(refusedOnLine2("hash#tag\tX", "'#'"));
    EXPECT_TRUE(refusedOnLine2("under_score\tX", "'_'"));
    EXPECT_TRUE(refusedOnLine2("star*\tX", "'*'"));
    EXPECT_TRUE(refusedOnLine2("caf\xc3\xa9\tX", "byte 195"));
    EXPECT_TRUE(refusedOnLine2("1234\tDigits only", "no letter"));
    EXPECT_TRUE(accepted("route 66\tRoad"));
}

TEST(PuzzleSource, RefusesCharactersTheHintMayNotHold) {
    EXPECT_TRUE(refusedOnLine2("good\tSemi;colon", "hint may not hold ';'"));
    EXPECT_TRUE(refusedOnLine2("good\tCo:lon", "hint may not hold ':'"));
    EXPECT_TRUE(refusedOnLine2("good\tCaf\xc3\xa9", "byte 195"));
    EXPECT_TRUE(accepted("good\tMixed Case, (and) #1?"));
}

TEST(PuzzleSource, RefusesStrayBlanksAndBadLineShapes) {
    EXPECT_TRUE(refusedOnLine2(" leading\tX", "starts or ends with a space"));
    EXPECT_TRUE(refusedOnLine2("trailing \tX", "starts or ends with a space"));
    EXPECT_TRUE(refusedOnLine2("two  spaces\tX", "two spaces"));
    EXPECT_TRUE(refusedOnLine2("good\tHint ", "hint starts or ends"));
    EXPECT_TRUE(refusedOnLine2("no tab here", "no TAB"));
    EXPECT_TRUE(refusedOnLine2("two\ttabs\there", "more than one TAB"));
    EXPECT_TRUE(refusedOnLine2("dos line\tEnd\r", "carriage return"));
}

TEST(PuzzleSource, RefusesADuplicatePhraseNamingBothLines) {
    const std::string e = onlyError(kHead + "same\tA\nother\tB\nsame\tC\n" + kTail);
    EXPECT_EQ(e, "line 4: phrase \"same\" is already on line 2");
}

TEST(PuzzleSource, ReportsEveryBrokenLineNotJustTheFirst) {
    auto r = parsePuzzleSource(kHead + "A\tX\nfine\tY\nb;\tZ\n" + kTail);
    ASSERT_EQ(r.errors.size(), 3u);  // "A": upper case and too short; "b;"
    EXPECT_EQ(r.errors[0].rfind("line 2: ", 0), 0u);
    EXPECT_EQ(r.errors[2].rfind("line 4: ", 0), 0u);
}

TEST(PuzzleSource, NeedsEnoughRecordsAndTheMarkersAtBothEnds) {
    EXPECT_NE(onlyError(kHead + "tarvik kxv library end\tEnd\n").find("at least 5"),
              std::string::npos);
    EXPECT_EQ(onlyError("moved start\tX\n" + kHead + kTail),
              "line 1: the first puzzle must be the marker \"tarvik kxv library start\"");
    EXPECT_EQ(onlyError(kHead + kTail + "after the end\tX\n"),
              "line 6: the last puzzle must be the marker \"tarvik kxv library end\"");
}
