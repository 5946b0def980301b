// Drawing a puzzle: counting the records, the pick, the reads and the masking.
#include <cstdlib>
#include <set>

#include "game/Draw.h"
#include "game_test_support.h"
#include "library/LibraryState.h"

namespace {

using testing_support::GameTest;
namespace id = ui::id;

const std::string missingText = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";

std::string records(int n) {
    std::string bytes;
    for (int i = 0; i < n; ++i) bytes += "phrase" + std::to_string(i) + ";hint" + std::to_string(i) + ":";
    return bytes;
}

class DrawTest : public GameTest {};

TEST_F(DrawTest, CountsRecordsOnceAndOnlyBeepsAndReportsAtZero) {
    struct Case {
        const char* name;
        bool fileExists;
        std::string bytes;
        int recordCount;
        bool drawn;
    };
    const Case cases[] = {
        {"missing", false, "", 0, false},
        {"empty", true, "", -3, false},
        {"placeholder", true, "Data purged...", -2, false},
        {"one record", true, records(1), -1, false},
        {"two records", true, records(2), 0, false},
        {"three records", true, records(3), 1, false},
        {"four records", true, records(4), 2, false},
        {"five records", true, records(5), 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        start();
        if (c.fileExists) write("KXData.dat", c.bytes);
        newGame();
        EXPECT_EQ(library::libraryState.recordCount, c.recordCount);
        EXPECT_EQ(desk.beeps(), c.recordCount == 0 ? 1 : 0);
        EXPECT_EQ(state().gameInProgress, c.drawn ? 1 : 0);
        if (c.recordCount == 0) {
            EXPECT_EQ(shown(id::PhraseDisplay), missingText);
            EXPECT_EQ(shown(id::HintDisplay), "No data");
        } else if (!c.drawn) {
            EXPECT_EQ(shown(id::PhraseDisplay), "");
            EXPECT_EQ(shown(id::HintDisplay), "");
        } else {
            EXPECT_NE(shown(id::PhraseDisplay), "");
        }
    }
}

TEST_F(DrawTest, TheFileIsCountedOnlyAtTheFirstNewGame) {
    start();
    write("KXData.dat", records(6));
    newGame();
    EXPECT_EQ(library::libraryState.recordCount, 4);
    write("KXData.dat", records(9));
    newGame();
    EXPECT_EQ(library::libraryState.recordCount, 4);
}

TEST_F(DrawTest, FirstAndLastRecordsAreNeverDrawnAndAllOthersAre) {
    start();
    write("KXData.dat", records(7));
    state().rngSeeded = 1;
    std::srand(20261208);
    std::set<std::string> hints;
    for (int i = 0; i < 300; ++i) {
        newGame();
        hints.insert(state().hint);
    }
    EXPECT_EQ(hints, (std::set<std::string>{"hint1", "hint2", "hint3", "hint4", "hint5"}));
}

TEST_F(DrawTest, SeedsTheGeneratorOnlyWhenADrawIsPossible) {
    start();
    write("KXData.dat", records(3));
    newGame();
    EXPECT_EQ(state().rngSeeded, 0);
    TearDown();
    SetUp();
    start();
    write("KXData.dat", records(5));
    newGame();
    EXPECT_EQ(state().rngSeeded, 1);
}

TEST_F(DrawTest, MasksLettersButLeavesSpacesDigitsAndPunctuation) {
    startWith("go 4 it!", "Stored As Typed");
    newGame();
    const auto& s = state();
    EXPECT_EQ(s.plainAnswer, "GO 4 IT!");
    EXPECT_EQ(s.answer, " G O   4   I T !");
    EXPECT_EQ(s.workingCopy, " G O   4   I T !");
    EXPECT_EQ(s.mask, " * *   4   * * !");
    EXPECT_EQ(s.display, " _ _   4   _ _ !");
    EXPECT_EQ(s.underlay, s.display);
    EXPECT_EQ(s.hint, "Stored As Typed");
    EXPECT_EQ(s.maskChar, "");
    EXPECT_EQ(shown(id::PhraseDisplay), " _ _   4   _ _ !");
    EXPECT_EQ(shown(id::PhraseUnderlay), " _ _   4   _ _ !");
    EXPECT_EQ(shown(id::HintDisplay), "Stored As Typed");
    EXPECT_EQ(shown(id::MissedLetters), std::string(28, ' '));
}

// Latin-1 letters are upper-cased for the screen (\xff has no capital) but
// never hidden: no tile could uncover them.
TEST_F(DrawTest, HidesHashButNotStarsUnderscoresOrHighBytes) {
    startWith("a#b*c_9\xe9\xff");
    newGame();
    const auto& s = state();
    EXPECT_EQ(s.plainAnswer, "A#B*C_9\xc9\xff");
    EXPECT_EQ(s.mask, " * * * * * _ 9 \xc9 \xff");
    EXPECT_EQ(s.display, " _ _ _ * _ _ 9 \xc9 \xff");
}

TEST_F(DrawTest, AnEmptyPhraseOrAFileCutShortDrawsNothing) {
    startWith("", "orphan hint");
    newGame();
    EXPECT_EQ(library::libraryState.recordCount, 3);
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(state().hint, "");
    EXPECT_EQ(desk.beeps(), 0);

    // The count stays 3 while the file now ends before every drawable record.
    write("KXData.dat", "first;h0:");
    newGame();
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(state().workingCopy, "");
    EXPECT_EQ(state().hint, "");
    EXPECT_EQ(shown(id::PhraseDisplay), "");
    EXPECT_EQ(shown(id::HintDisplay), "");
}

// Hints holding ';' count as extra pieces, so a pick can lie past the last
// record; when the file ends inside a hint, the record read before is not
// played again in its place.
TEST_F(DrawTest, APickPastTheLastRecordDrawsNothingWhenTheFileEndsInAHint) {
    start();
    write("KXData.dat", "first;h0;a;b;c;d;e");
    state().rngSeeded = 1;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::srand(seed);
        newGame();
        EXPECT_EQ(library::libraryState.recordCount, 4);
        EXPECT_EQ(state().gameInProgress, 0);
        EXPECT_EQ(state().plainAnswer, "");
        EXPECT_EQ(shown(id::PhraseDisplay), "");
        EXPECT_EQ(shown(id::HintDisplay), "");
    }
}

TEST_F(DrawTest, ARecordCutBeforeItsHintIsPlayedWithoutTheHintBeforeIt) {
    start();
    // Two extra ';' in the first hint make the cut last record drawable.
    write("KXData.dat", "p0;h;x;y:p1;h1:p2;h2:p3");
    state().rngSeeded = 1;
    int cutDrawn = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::srand(seed);
        newGame();
        EXPECT_EQ(library::libraryState.recordCount, 3);
        if (state().plainAnswer != "P3") continue;
        ++cutDrawn;
        EXPECT_EQ(state().hint, "");
        EXPECT_EQ(shown(id::HintDisplay), "");
    }
    EXPECT_GT(cutDrawn, 0);
}

TEST_F(DrawTest, ALastRecordWithoutItsColonStillCounts) {
    start();
    write("KXData.dat", records(4) + "tail phrase;tail hint");
    newGame();
    EXPECT_EQ(library::libraryState.recordCount, 3);
}

TEST(StringHelpers, ReplaceAllNeverSearchesWhatItInserted) {
    std::string s = "aXaXa";
    EXPECT_EQ(game::replaceAll(s, "a", "aa"), "aaXaaXaa");
    std::string t = "abab";
    game::replaceAll(t, "ab", "b");
    EXPECT_EQ(t, "bb");
    std::string u = "unchanged";
    game::replaceAll(u, "", "x");
    EXPECT_EQ(u, "unchanged");
}

TEST(StringHelpers, FindAndFlagRecordsWhetherTheTextOccurs) {
    game::findAndFlag(" G O", "O");
    EXPECT_EQ(game::roundState.lastFindHit, 1);
    game::findAndFlag(" G O", "o");
    EXPECT_EQ(game::roundState.lastFindHit, 0);
    game::roundState = game::RoundState{};
}

}  // namespace
