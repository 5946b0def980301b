// Scores, wins and losses: the statistics file, the score rule, the reset.
#include <filesystem>

#include "LibraryTestSupport.h"
#include "app/Exit.h"
#include "library/FolderLock.h"
#include "game_test_support.h"

namespace {

using testing_support::GameTest;
namespace id = ui::id;

class StatsTest : public GameTest {
protected:
    void expectDisplays(const std::string& t1, const std::string& w1, const std::string& l1,
                        const std::string& t2, const std::string& w2, const std::string& l2) {
        EXPECT_EQ(shown(id::PlayerOneTotalDisplay), t1);
        EXPECT_EQ(shown(id::PlayerOneWinsDisplay), w1);
        EXPECT_EQ(shown(id::PlayerOneLossesDisplay), l1);
        EXPECT_EQ(shown(id::PlayerTwoTotalDisplay), t2);
        EXPECT_EQ(shown(id::PlayerTwoWinsDisplay), w2);
        EXPECT_EQ(shown(id::PlayerTwoLossesDisplay), l2);
    }
    // The texts written to the six statistics displays, in order.
    std::vector<std::string> statsWrites() {
        std::vector<std::string> out;
        for (const auto& call : desk.callsStartingWith("setText ")) {
            const int target = std::stoi(call.substr(8));
            if (target >= id::PlayerOneTotalDisplay && target <= id::PlayerTwoLossesDisplay) out.push_back(call);
        }
        return out;
    }
    void startWithStats(const std::string& bytes) {
        write("KXStats.dat", bytes);
        start();
    }
};

TEST_F(StatsTest, NoFileShowsZerosAndAnExitWritesSixZeros) {
    start();
    expectDisplays("0", "0", "0", "0", "0", "0");
    press(id::ExitButton);
    EXPECT_EQ(read("KXStats.dat"), "0 0 0 0 0 0");
}

TEST_F(StatsTest, LoadsSixNumbersOnOneLineOrOnSix) {
    for (const std::string bytes : {"250 7 3 40 1 9", "250\n7\n3\n40\n1\n9\n", "  250\t7 \r\n3 40 1 9"}) {
        SCOPED_TRACE(bytes);
        TearDown();
        SetUp();
        startWithStats(bytes);
        expectDisplays("250", "7", "3", "40", "1", "9");
        EXPECT_EQ(one().totalScore, 250);
        EXPECT_EQ(two().losses, 9);
    }
}

TEST_F(StatsTest, ABadNumberZeroesItAndEveryLaterOne) {
    startWithStats("250 7 x 40 1 9");
    expectDisplays("250", "7", "0", "0", "0", "0");
    EXPECT_EQ(two().totalScore, 0);
}

TEST_F(StatsTest, OutOfRangeNumbersStopAtTheLimitsAndEndTheReading) {
    startWithStats("99999999999 5 6 7 8 9");
    expectDisplays("2147483647", "0", "0", "0", "0", "0");
    TearDown();
    SetUp();
    startWithStats("-5 3 -99999999999 7 8 9");
    expectDisplays("-5", "3", "-2147483648", "0", "0", "0");
}

TEST_F(StatsTest, AShortFileLeavesTheMissingNumbersAtZero) {
    startWithStats("12 3");
    expectDisplays("12", "3", "0", "0", "0", "0");
}

TEST_F(StatsTest, SavesSixNumbersWithSingleSpacesAndNoLineEnd) {
    start();
    game::playerStats[0] = {-40, 2, 0, "", "", ""};
    game::playerStats[1] = {2147483647, 1, 12, "", "", ""};
    EXPECT_TRUE(game::saveStats());
    EXPECT_EQ(read("KXStats.dat"), "-40 2 0 2147483647 1 12");
}

TEST_F(StatsTest, AFailedSaveKeepsTheOldFile) {
    start();
    // A name so long that no temporary file can be made beside it.
    const std::string name(250, 's');
    write(name, "1 2 3 4 5 6");
    library::appPaths.statsPath = file(name).string();
    game::playerStats[0].totalScore = 999;
    EXPECT_FALSE(game::saveStats());
    EXPECT_EQ(read(name), "1 2 3 4 5 6");
}

TEST_F(StatsTest, ScoreIsLengthMinusWrongGuessesTimesTen) {
    start();
    auto& s = state();
    s.currentPlayer = 1;
    s.plainAnswer = "ELEVEN CHAR";
    s.wrongGuesses = 3;
    game::recordWin();
    EXPECT_EQ(one().totalScore, 80);
    EXPECT_EQ(one().wins, 1);
    EXPECT_EQ(one().totalText, "80");
    EXPECT_EQ(one().winsText, "1");

    s.wrongGuesses = 2;   // the head start, no real miss
    game::recordWin();
    EXPECT_EQ(one().totalScore, 170);

    s.plainAnswer = "OK";
    s.wrongGuesses = 6;
    game::recordWin();
    EXPECT_EQ(one().totalScore, 130);
    EXPECT_EQ(one().wins, 3);
    EXPECT_EQ(two().wins, 0);

    s.currentPlayer = 2;
    game::recordWin();
    EXPECT_EQ(two().totalScore, -40);
    EXPECT_EQ(two().totalText, "-40");
}

TEST_F(StatsTest, WinsAndLossesAreBookedOnlyAtTheirGallowsCounts) {
    start();
    auto& s = state();
    s.plainAnswer = "ABC";
    s.wrongGuesses = 7;
    game::recordWin();
    EXPECT_EQ(one().wins, 0);
    s.wrongGuesses = 6;
    game::recordLoss();
    EXPECT_EQ(one().losses, 0);
    s.currentPlayer = 2;
    s.wrongGuesses = 7;
    game::recordLoss();
    EXPECT_EQ(two().losses, 1);
    EXPECT_EQ(two().lossesText, "1");
    EXPECT_EQ(two().totalScore, 0);
    EXPECT_EQ(one().losses, 0);
}

TEST_F(StatsTest, TotalsStopAtTheLimitInsteadOfWrapping) {
    startWithStats("2147483600 2147483647 0 0 0 0");
    state().plainAnswer = "TWENTY CHARACTERS!!!";
    state().wrongGuesses = 0;
    game::recordWin();
    EXPECT_EQ(one().totalScore, 2147483647);
    EXPECT_EQ(one().wins, 2147483647);
}

TEST_F(StatsTest, AWonGameRewritesWinsAndTotalsInOrder) {
    startWithStats("250 7 3 40 1 9");
    usePuzzle("hello world", "greeting");   // 11 characters
    newGame();
    clickLetters("QZX");
    desk.clearCalls();
    clickLetters("HELOWRD");
    EXPECT_EQ(one().wins, 8);
    EXPECT_EQ(one().totalScore, 330);
    EXPECT_EQ(statsWrites(),
              (std::vector<std::string>{"setText 1750 8", "setText 1780 1", "setText 1690 330",
                                        "setText 1720 40"}));
    expectDisplays("330", "8", "3", "40", "1", "9");
}

TEST_F(StatsTest, ALostGameRewritesTheLossesOfBoth) {
    startWithStats("250 7 3 40 1 9");
    usePuzzle("hello world", "greeting");
    press(id::PlayerTwoButton);
    newGame();
    desk.clearCalls();
    clickLetters("QZXVBNM");
    EXPECT_EQ(two().losses, 10);
    EXPECT_EQ(two().totalScore, 40);
    EXPECT_EQ(statsWrites(), (std::vector<std::string>{"setText 1810 3", "setText 1840 10"}));
}

TEST_F(StatsTest, ResetRefusedWithoutAPositiveTotalOfTheCurrentPlayer) {
    startWithStats("0 0 5 40 1 9");
    press(id::ResetStatsButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(desk.count(testing_support::clickWave), 0);
    EXPECT_EQ(one().losses, 5);
    EXPECT_TRUE(desk.hasFocus(platform::Window::Main));

    TearDown();
    SetUp();
    startWithStats("-40 3 0 40 1 9");
    press(id::ResetStatsButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(one().totalScore, -40);
    EXPECT_EQ(one().wins, 3);
}

TEST_F(StatsTest, ResetClearsOnlyTheCurrentPlayerAndItsDisplays) {
    startWithStats("250 7 3 40 1 9");
    press(id::PlayerTwoButton);
    desk.clearCalls();
    press(id::ResetStatsButton);
    EXPECT_EQ(desk.beeps(), 0);
    EXPECT_EQ(desk.count(testing_support::clickWave), 1);
    EXPECT_EQ(desk.callsStartingWith("setText"),
              (std::vector<std::string>{"setText 1840 0", "setText 1780 0", "setText 1720 0"}));
    expectDisplays("250", "7", "3", "0", "0", "0");
    EXPECT_TRUE(desk.hasFocus(platform::Window::Main));
    // The reset is on disk before the handler returns.
    EXPECT_EQ(read("KXStats.dat"), "250 7 3 0 0 0");
    press(id::ExitButton);
    EXPECT_EQ(read("KXStats.dat"), "250 7 3 0 0 0");
}

}  // namespace

namespace {

// ---- Saving: another run's games kept, a failed save said ---------------------

// While alive, the folder lock acts as on a file system without record locks.
struct NoRecordLocks {
    NoRecordLocks() { library::pretendNoRecordLocks(true); }
    ~NoRecordLocks() { library::pretendNoRecordLocks(false); }
    NoRecordLocks(const NoRecordLocks&) = delete;
    NoRecordLocks& operator=(const NoRecordLocks&) = delete;
};

class StatsSavingTest : public StatsTest {
protected:
    // Plays the drawn phrase to a win, letter by letter.
    void winTheGame() {
        for (char c : state().plainAnswer) {
            if (c >= 'A' && c <= 'Z' && state().gameInProgress == 1) clickLetter(c);
        }
    }
    void loseTheGame() {
        for (char c = 'A'; c <= 'Z' && state().gameInProgress == 1; ++c) {
            if (state().plainAnswer.find(c) == std::string::npos) clickLetter(c);
        }
    }
};

TEST_F(StatsSavingTest, WithoutALockAGameBookedByAnotherRunMeanwhileIsKept) {
    const NoRecordLocks noLocks;
    write("KXStats.dat", "100 2 1 50 1 0");
    startWith("sun");
    // Another copy of the game, unseen, books a win of player one (30) and a
    // loss of player two.
    write("KXStats.dat", "130 3 1 50 1 1");
    newGame();
    winTheGame();   // "SUN" with no miss: 30
    EXPECT_EQ(read("KXStats.dat"), "160 4 1 50 1 1");
    expectDisplays("160", "4", "1", "50", "1", "1");
    // And again after a reset of player two, with another win booked elsewhere.
    write("KXStats.dat", "190 5 1 50 1 1");
    state().currentPlayer = 2;
    press(id::ResetStatsButton);
    EXPECT_EQ(read("KXStats.dat"), "190 5 1 0 0 0");
    expectDisplays("190", "5", "1", "0", "0", "0");
    EXPECT_TRUE(desk.messageBoxes().empty());
}

TEST_F(StatsSavingTest, WithTheLockTheFileIsThisRunsAlone) {
    write("KXStats.dat", "100 2 1 50 1 0");
    startWith("sun");
    newGame();
    winTheGame();
    EXPECT_EQ(read("KXStats.dat"), "130 3 1 50 1 0");
}

TEST_F(StatsSavingTest, AResultThatCannotBeSavedIsSaidOnceUntilASaveWorksAgain) {
    write("KXStats.dat", "100 2 1 0 0 0");
    startWith("sun");
    {
        library_test::FileSizeLimit full(4);   // as a full disk
        newGame();
        winTheGame();
        ASSERT_EQ(desk.messageBoxes().size(), 1u);
        EXPECT_NE(desk.messageBoxes()[0].text.find("could not be saved"), std::string::npos);
        EXPECT_NE(desk.messageBoxes()[0].text.find(file("KXStats.dat").string()), std::string::npos);
        newGame();
        loseTheGame();
        press(id::ResetStatsButton);
        EXPECT_EQ(desk.messageBoxes().size(), 1u) << "said once, not at every booking";
    }
    EXPECT_EQ(read("KXStats.dat"), "100 2 1 0 0 0") << "the old numbers are whole";
    newGame();
    winTheGame();   // saved now
    EXPECT_EQ(read("KXStats.dat"), "30 1 0 0 0 0");
    {
        library_test::FileSizeLimit full(4);
        newGame();
        loseTheGame();
        EXPECT_EQ(desk.messageBoxes().size(), 2u) << "a new failure after a save that worked is said again";
    }
}

TEST_F(StatsSavingTest, StatisticsThatCouldNotBeReadAreSaidToBeUnsavedAtTheFirstBooking) {
    std::filesystem::create_directory(file("KXStats.dat"));
    startWith("sun");
    newGame();
    winTheGame();
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_NE(desk.messageBoxes()[0].text.find("cannot be read"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(file("KXStats.dat")));
}

}  // namespace
