// Whatever happens to a run, what was saved stays: a second run in the same
// folder, files that cannot be read or written, crashes between changes,
// leftovers, links and file modes, and inputs of any size.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "LibraryTestSupport.h"
#include "game/Draw.h"
#include "game/Guessing.h"
#include "game_test_support.h"
#include "library/AtomicFile.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"

namespace {

namespace fs = std::filesystem;
using library::scrambleBytes;
using testing_support::GameTest;
namespace id = ui::id;

const std::string kLibrary = "first;opening:cat;animal:dog;pet:sun;star:last;closing:";

// Processor time of this process, so that a loaded machine does not make
// the time a handler takes look longer than its own work.
std::chrono::milliseconds cpuTimeSince(std::clock_t start) {
    return std::chrono::milliseconds((std::clock() - start) * 1000 / CLOCKS_PER_SEC);
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// While alive, the folder lock acts as on a file system without record locks.
struct NoRecordLocks {
    NoRecordLocks() { library::pretendNoRecordLocks(true); }
    ~NoRecordLocks() { library::pretendNoRecordLocks(false); }
    NoRecordLocks(const NoRecordLocks&) = delete;
    NoRecordLocks& operator=(const NoRecordLocks&) = delete;
};

class SafetyTest : public GameTest {
protected:
    void restart() {
        testing_support::resetProgramState();
        desk = platform::MemoryDesktop{};
        start();
    }
    void add(const std::string& phrase, const std::string& hint = "") {
        desk.type(id::PhraseEdit, phrase);
        desk.type(id::HintEdit, hint);
        press(id::AddButton);
    }
    // Plays the drawn phrase to a win, letter by letter.
    void winTheGame() {
        for (char c : state().plainAnswer) {
            if (c >= 'A' && c <= 'Z' && state().gameInProgress == 1) clickLetter(c);
        }
    }
};

// ---- One run per folder -----------------------------------------------------

TEST_F(SafetyTest, ASecondStartInAHeldFolderTouchesNothingAndCreatesNoWindow) {
    write("OnLoad.dat", scrambleBytes(kLibrary));
    write("KXData.dat", "Data purged...");
    write("OnLoad.dat.tarvik-kxv-temp-Ab12Cd", "a temporary of the running game");
    testing_support::HoldingProcess holder(
        [&] { return library::lockFolder(dir.string()).result == library::LockResult::Taken; });
    ASSERT_TRUE(holder.taken());

    const app::StartOutcome outcome = app::startProgram((dir / "tarvik-kxv").string());
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(outcome.holder, holder.pid());
    EXPECT_TRUE(desk.calls().empty()) << desk.calls().front();
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(kLibrary));
    EXPECT_TRUE(exists("OnLoad.dat.tarvik-kxv-temp-Ab12Cd")) << "the running game's temporary file was removed";
    EXPECT_FALSE(exists("KXStats.dat"));
    EXPECT_FALSE(exists("KXC_CONFIG.INI"));

    holder.release();

    // Once the other run has ended, the folder is this run's.
    start();
    EXPECT_EQ(read("KXData.dat"), kLibrary);
    EXPECT_FALSE(exists("OnLoad.dat.tarvik-kxv-temp-Ab12Cd"));
}

TEST_F(SafetyTest, AFolderThatCannotHoldTheLockStillPlaysButNeverWritesOverAnotherRunsPurge) {
    const NoRecordLocks noLocks;
    write("OnLoad.dat", scrambleBytes(kLibrary));
    writeUnlockedConfig();
    start();
    EXPECT_EQ(read("KXData.dat"), kLibrary);
    // Another run, unseen, ends in an orderly way.
    write("KXData.dat", "Data purged...");
    add("lost add");
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(desk.text(id::PhraseEdit), "lost add");
    press(id::ExitButton);
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(kLibrary));
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
}

TEST_F(SafetyTest, WithoutTheLockAChangeOfItsOwnIsStillStored) {
    const NoRecordLocks noLocks;
    write("OnLoad.dat", scrambleBytes(kLibrary));
    writeUnlockedConfig();
    start();
    add("mine");
    EXPECT_EQ(desk.beeps(), 0);
    press(id::ExitButton);
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(kLibrary + "mine;no hint available:"));
}

// ---- Never write what was not read ----------------------------------------

TEST_F(SafetyTest, AnUnreadableScrambledFileIsNeverWrittenOver) {
    fs::create_directory(file("OnLoad.dat"));
    write("OnLoad.dat/keep", "inside");
    write("KXData.dat", "Data purged...");
    writeUnlockedConfig();
    start();
    EXPECT_FALSE(library::libraryInHand());
    add("refused one");
    EXPECT_EQ(desk.beeps(), 1) << "an add that cannot be stored beeps";
    EXPECT_EQ(desk.text(id::PhraseEdit), "refused one");
    press(id::ExitButton);
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    EXPECT_EQ(read("OnLoad.dat/keep"), "inside");
}

TEST_F(SafetyTest, AnUnscrambleThatCannotBeWrittenLeavesTheLibraryAloneAtExit) {
    // The plain copy needs more than the limit allows: the start-up fails to
    // write it, keeps the placeholder, and the exit must not scramble that.
    const std::string big = kLibrary + std::string(2000, 'x') + ";big:";
    write("OnLoad.dat", scrambleBytes(big));
    write("KXData.dat", "Data purged...");
    writeUnlockedConfig();
    {
        library_test::FileSizeLimit limit(1000);
        start();
        EXPECT_FALSE(library::libraryInHand());
        EXPECT_EQ(read("KXData.dat"), "Data purged...");
        add("not stored");
        EXPECT_EQ(desk.beeps(), 1);
        press(id::ExitButton);
    }
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(big));
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    restart();
    EXPECT_EQ(read("KXData.dat"), big);
}

TEST_F(SafetyTest, AnAddThatCannotBeStoredLeavesTheViewingPassAsItWas) {
    write("OnLoad.dat", scrambleBytes(kLibrary));
    writeUnlockedConfig();
    start();
    press(id::ViewButton);
    ASSERT_EQ(library::puzzleViewer.currentPhrase, "first");
    fs::remove(file("OnLoad.dat"));
    fs::create_directory(file("OnLoad.dat"));   // cannot be replaced now
    add("refused");
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(library::puzzleViewer.step, 1);
    press(id::ViewButton);
    EXPECT_EQ(desk.text(id::PhraseEdit), "cat");
}

TEST_F(SafetyTest, NoScrambledFileMakesThePlainFileTheLibrary) {
    write("KXData.dat", kLibrary);
    writeUnlockedConfig();
    start();
    EXPECT_TRUE(library::libraryInHand());
    add("new");
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(kLibrary + "new;no hint available:"));
}

TEST_F(SafetyTest, StatisticsThatCannotBeReadAreNeverSavedOver) {
    fs::create_directory(file("KXStats.dat"));
    write("KXStats.dat/keep", "500 7 3 200 4 4");
    start();
    usePuzzle("go");
    EXPECT_EQ(shown(id::PlayerOneTotalDisplay), "0");
    newGame();
    winTheGame();
    EXPECT_EQ(one().wins, 1);
    press(id::ExitButton);
    EXPECT_TRUE(fs::is_directory(file("KXStats.dat")));
    EXPECT_EQ(read("KXStats.dat/keep"), "500 7 3 200 4 4");
}

// ---- Durable at every change ------------------------------------------------

TEST_F(SafetyTest, AddAndDeleteReachTheScrambledFileBeforeTheirHandlersReturn) {
    write("OnLoad.dat", scrambleBytes(kLibrary));
    writeUnlockedConfig();
    start();
    add("blue moon", "Rare");
    const std::string added = kLibrary + "blue moon;Rare:";
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(added));
    EXPECT_EQ(read("KXData.dat"), added);
    press(id::ViewButton);
    press(id::ViewButton);
    ASSERT_EQ(desk.text(id::PhraseEdit), "cat");
    press(id::DeleteButton);
    const std::string deleted = "first;opening:dog;pet:sun;star:last;closing:blue moon;Rare:";
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(deleted));
    // The run dies here; the next start has both changes.
    restart();
    EXPECT_EQ(read("KXData.dat"), deleted);
}

TEST_F(SafetyTest, ADeleteThatCannotBeStoredBeepsAndKeepsTheRecord) {
    write("OnLoad.dat", scrambleBytes(kLibrary));
    writeUnlockedConfig();
    start();
    press(id::ViewButton);
    fs::remove(file("OnLoad.dat"));
    fs::create_directory(file("OnLoad.dat"));   // cannot be replaced now
    desk.clearCalls();
    press(id::DeleteButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(read("KXData.dat"), kLibrary);
}

TEST_F(SafetyTest, WinsLossesAndResetsReachTheStatisticsFileAtOnce) {
    write("KXStats.dat", "10 1 1 0 0 0");
    start();
    usePuzzle("go");
    newGame();
    winTheGame();
    EXPECT_EQ(read("KXStats.dat"), "30 2 1 0 0 0");
    newGame();
    clickLetters("XYZQJKV");
    EXPECT_EQ(read("KXStats.dat"), "30 2 2 0 0 0");
    press(id::ResetStatsButton);
    EXPECT_EQ(read("KXStats.dat"), "0 0 0 0 0 0");
}

// ---- Left-overs and limits ----------------------------------------------------

TEST_F(SafetyTest, TemporariesOfAKilledRunGoAtTheNextStartAndNothingElse) {
    for (const char* name : {"OnLoad.dat.tarvik-kxv-temp-a1B2c3", "KXData.dat.tarvik-kxv-temp-ZZZZZZ",
                             "KXStats.dat.tarvik-kxv-temp-000000", "KXC_CONFIG.INI.tarvik-kxv-temp-qwErty"}) {
        write(name, "left by a killed run");
    }
    for (const char* name : {"OnLoad.dat.tarvik-kxv-temp-toolong1", "OnLoad.dat.tarvik-kxv-temp-ab-cd1",
                             "notes.txt.tarvik-kxv-temp-abcdef", "OnLoad.dat.bak"}) {
        write(name, "not ours");
    }
    fs::create_directory(file("KXData.dat.tarvik-kxv-temp-dirdir"));
    start();
    for (const char* name : {"OnLoad.dat.tarvik-kxv-temp-a1B2c3", "KXData.dat.tarvik-kxv-temp-ZZZZZZ",
                             "KXStats.dat.tarvik-kxv-temp-000000", "KXC_CONFIG.INI.tarvik-kxv-temp-qwErty"}) {
        EXPECT_FALSE(exists(name)) << name;
    }
    for (const char* name : {"OnLoad.dat.tarvik-kxv-temp-toolong1", "OnLoad.dat.tarvik-kxv-temp-ab-cd1",
                             "notes.txt.tarvik-kxv-temp-abcdef", "OnLoad.dat.bak",
                             "KXData.dat.tarvik-kxv-temp-dirdir"}) {
        EXPECT_TRUE(exists(name)) << name;
    }
}

TEST_F(SafetyTest, AFileSizeLimitMakesAWriteFailNotTheProgramDie) {
    start();
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &now), 0);
    EXPECT_NE(now.sa_handler, SIG_DFL);
    EXPECT_NE(now.sa_handler, SIG_IGN) << "an ignored signal would stay ignored in programs started from here";
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = game::saveStats();
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(exists("KXStats.dat"));
}

TEST_F(SafetyTest, WritingThroughASymbolicLinkReplacesItsTargetAndKeepsTheLink) {
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    testing_support::writeFile(elsewhere / "library.dat", scrambleBytes(kLibrary));
    fs::create_symlink("elsewhere/library.dat", file("OnLoad.dat"));
    testing_support::writeFile(elsewhere / "stats", "1 2 3 4 5 6");
    fs::create_symlink(elsewhere / "stats", file("KXStats.dat"));
    writeUnlockedConfig();
    start();
    add("linked");
    press(id::ExitButton);
    EXPECT_TRUE(fs::is_symlink(file("OnLoad.dat")));
    EXPECT_TRUE(fs::is_symlink(file("KXStats.dat")));
    EXPECT_EQ(testing_support::readFile(elsewhere / "library.dat"),
              scrambleBytes(kLibrary + "linked;no hint available:"));
    EXPECT_EQ(testing_support::readFile(elsewhere / "stats"), "1 2 3 4 5 6");
    for (const auto& e : fs::directory_iterator(elsewhere)) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "library.dat" || name == "stats") << "left behind: " << name;
    }
}

TEST_F(SafetyTest, AReplacedFileKeepsItsPermissionBitsAndANewOneGetsTheUsualOnes) {
    write("KXStats.dat", "1 2 3 4 5 6");
    ::chmod(file("KXStats.dat").c_str(), 0600);
    write("OnLoad.dat", scrambleBytes(kLibrary));
    ::chmod(file("OnLoad.dat").c_str(), 0640);
    start();
    press(id::ExitButton);
    EXPECT_EQ(modeOf(file("KXStats.dat")), 0600u);
    EXPECT_EQ(modeOf(file("OnLoad.dat")), 0640u);
    EXPECT_EQ(modeOf(file("KXC_CONFIG.INI")), 0644u);
}

TEST_F(SafetyTest, AnUnflushedReplacementIsTheSameReplacementThroughLinksAndModes) {
    // Only the flushes are left out: the rename, the link and the mode are
    // as for any other replacement.
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    testing_support::writeFile(elsewhere / "plain", "old");
    ::chmod((elsewhere / "plain").c_str(), 0640);
    fs::create_symlink(elsewhere / "plain", file("KXData.dat"));
    ASSERT_TRUE(library::replaceFileAtomically(file("KXData.dat").string(), "new", library::Flush::Unflushed));
    EXPECT_TRUE(fs::is_symlink(file("KXData.dat")));
    EXPECT_EQ(testing_support::readFile(elsewhere / "plain"), "new");
    EXPECT_EQ(modeOf(elsewhere / "plain"), 0640u);
    for (const auto& e : fs::directory_iterator(elsewhere)) EXPECT_EQ(e.path().filename(), "plain");
    // A directory in the way is refused, as ever.
    fs::create_directory(file("OnLoad.dat"));
    EXPECT_FALSE(library::replaceFileAtomically(file("OnLoad.dat").string(), "x", library::Flush::Unflushed));
}

// ---- Inputs of any size -----------------------------------------------------

TEST_F(SafetyTest, ALetterOfAVeryLongPhraseIsRevealedInOnePass) {
    std::string phrase;
    for (int i = 0; i < 16000; ++i) phrase += (i % 3 == 0) ? 'a' : 'b';
    start();
    usePuzzle(phrase);
    newGame();
    ASSERT_EQ(state().plainAnswer.size(), 16000u);
    desk.clearCalls();
    const std::clock_t before = std::clock();
    clickLetter('A');
    EXPECT_LT(cpuTimeSince(before), std::chrono::milliseconds(200));
    EXPECT_EQ(desk.callsStartingWith("setText " + std::to_string(id::PhraseDisplay) + " ").size(), 1u);
    const std::string& shownPhrase = state().display;
    EXPECT_EQ(std::count(shownPhrase.begin(), shownPhrase.end(), 'A'), 5334);
    EXPECT_EQ(std::count(shownPhrase.begin(), shownPhrase.end(), '_'), 10666);
}

TEST_F(SafetyTest, APhraseLongerThanAnyControlHoldsIsNotPlayed) {
    start();
    usePuzzle(std::string(40000, 'x'));
    const std::clock_t before = std::clock();
    newGame();
    EXPECT_LT(cpuTimeSince(before), std::chrono::milliseconds(200));
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(shown(id::PhraseDisplay), "");
    // The longest playable one is played, masked whole.
    usePuzzle(std::string(32767, 'x'));
    newGame();
    EXPECT_EQ(state().gameInProgress, 1);
    EXPECT_EQ(state().display.size(), 2u * 32767);
    EXPECT_EQ(state().display.find('x'), std::string::npos);
}

TEST_F(SafetyTest, APlainFileThatIsADirectoryGivesTheMissingDataText) {
    start();
    fs::create_directory(file("KXData.dat"));
    newGame();
    EXPECT_EQ(shown(id::PhraseDisplay), "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING");
    EXPECT_EQ(shown(id::HintDisplay), "No data");
}

TEST_F(SafetyTest, TheViewerShowsAHugeFieldCutToWhatAnEditTakesAtOnce) {
    const std::string huge(20 * 1024 * 1024, 'q');   // no delimiter anywhere
    write("KXData.dat", huge);
    writeUnlockedConfig();
    start();
    const std::clock_t before = std::clock();
    press(id::ViewButton);
    EXPECT_LT(cpuTimeSince(before), std::chrono::milliseconds(200));
    EXPECT_EQ(desk.text(id::PhraseEdit), std::string(32767, 'q'));
    EXPECT_EQ(desk.text(id::HintEdit), "");
}

}  // namespace
