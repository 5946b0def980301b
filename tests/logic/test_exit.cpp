// The orderly exit as the puzzle library sees it: the puzzles go back into
// their scrambled form, the plain copy is purged, then the statistics are
// saved and the program ends.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "Fixture.h"
#include "library/PuzzleFile.h"

namespace {

using testing_support::ProgramTest;

long long modifiedNs(const std::filesystem::path& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

class ExitTest : public ProgramTest {
protected:
    void exitButton() { desk.pressButton(ui::id::ExitButton); }
    long indexOf(const std::string& call) {
        const auto& c = desk.calls();
        const auto it = std::find(c.begin(), c.end(), call);
        return it == c.end() ? -1 : static_cast<long>(it - c.begin());
    }
};

TEST_F(ExitTest, ScramblesPurgesSavesThenDestroysTheMainWindow) {
    write("OnLoad.dat", library::scrambleBytes("go;up:"));
    start();
    exitButton();
    EXPECT_EQ(read("OnLoad.dat"), std::string("\x68\x71\x3E\x79\x75\x40"));
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    ASSERT_TRUE(exists("KXStats.dat"));
    // The statistics are written after the puzzles.
    EXPECT_GE(modifiedNs(file("KXStats.dat")), modifiedNs(file("KXData.dat")));
    EXPECT_GE(modifiedNs(file("KXData.dat")), modifiedNs(file("OnLoad.dat")));
    const long destroyed = indexOf("destroyWindow MainWindow");
    const long quit = indexOf("postQuit 0");
    ASSERT_GE(destroyed, 0);
    ASSERT_GE(quit, 0);
    EXPECT_LT(destroyed, quit);
    EXPECT_EQ(desk.exitCode(), 0);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_EQ(desk.beeps(), 0);
}

TEST_F(ExitTest, AFailedScrambleStillSavesTheStatisticsAndEnds) {
    std::filesystem::create_directory(file("OnLoad.dat"));
    write("KXData.dat", "cat;animal:");
    start();
    exitButton();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");   // the only copy: kept
    EXPECT_TRUE(exists("KXStats.dat"));
    EXPECT_TRUE(desk.window(platform::Window::Main).destroyed);
    EXPECT_TRUE(desk.quitPosted());
}

TEST_F(ExitTest, NoPlainFileAtExitLeavesTheScrambledFileAlone) {
    write("OnLoad.dat", "");   // gives an empty plain file at start
    start();
    std::filesystem::remove(file("KXData.dat"));
    write("OnLoad.dat", "kept");
    exitButton();
    EXPECT_EQ(read("OnLoad.dat"), "kept");
    EXPECT_FALSE(exists("KXData.dat"));
    EXPECT_TRUE(desk.quitPosted());
}

TEST_F(ExitTest, ARunsAddsAndDeletesReachTheNextRun) {
    write("OnLoad.dat", library::scrambleBytes("cat;animal:dog;pet:sun;star:"));
    writeUnlockedConfig();
    start();
    desk.pressButton(ui::id::ViewButton);
    desk.pressButton(ui::id::ViewButton);
    desk.pressButton(ui::id::DeleteButton);   // drops dog;pet:
    desk.type(ui::id::PhraseEdit, "Blue Moon");
    desk.type(ui::id::HintEdit, "Rare");
    desk.pressButton(ui::id::AddButton);
    desk.pressButton(ui::id::ViewButton);     // leaves a pass open at exit
    desk.pressButton(ui::id::ViewButton);
    exitButton();
    EXPECT_FALSE(library::puzzleViewer.stream.is_open());
    EXPECT_EQ(read("KXData.dat"), "Data purged...");

    testing_support::resetProgramState();
    start();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:sun;star:blue moon;Rare:");
}

TEST_F(ExitTest, AnEndWithoutTheExitButtonKeepsTheRunsChanges) {
    write("OnLoad.dat", library::scrambleBytes("cat;animal:"));
    writeUnlockedConfig();
    start();
    desk.type(ui::id::PhraseEdit, "kept one");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "cat;animal:kept one;no hint available:");
    // The add reached the scrambled file before its handler returned.
    EXPECT_EQ(read("OnLoad.dat"), library::scrambleBytes("cat;animal:kept one;no hint available:"));
    // The process dies here: the next start finds the record.
    testing_support::resetProgramState();
    start();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:kept one;no hint available:");
}

}  // namespace
