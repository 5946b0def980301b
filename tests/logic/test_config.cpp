// The configuration file: its default content and the way its two numbers
// are read, as the add and viewer buttons then show.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Fixture.h"
#include "library/Config.h"
#include "library/LibraryState.h"

namespace {

using testing_support::ProgramTest;

const std::string kDefault =
    "Disable_Console= 1\nDisable_VCCntls= 1\n\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

class ConfigTest : public ProgramTest {
protected:
    void startWith(const std::string& content) {
        write("KXC_CONFIG.INI", content);
        start();
    }
    // The default file with its two digits replaced.
    static std::string withDigits(const std::string& first, const std::string& second) {
        std::string s = kDefault;
        s.replace(s.find("= 1\nDisable_VCCntls= 1") + 2, 1, first);
        s.replace(s.find("Disable_VCCntls= 1") + 17, 1, second);
        return s;
    }
};

TEST_F(ConfigTest, FirstRunWritesTheLockedDefaultByteForByteAndReadsItBack) {
    start();
    ASSERT_TRUE(exists("KXC_CONFIG.INI"));
    const std::string written = read("KXC_CONFIG.INI");
    EXPECT_EQ(written, kDefault);
    EXPECT_EQ(written.size(), 218u);
    EXPECT_EQ(library::Disable_Console, 1);
    EXPECT_EQ(library::Disable_VCCntls, 1);
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_FALSE(desk.windowVisible(platform::Window::AddPuzzle));

    // The next start reads the same file and leaves it as it is.
    testing_support::resetProgramState();
    start();
    EXPECT_EQ(library::Disable_Console, 1);
    EXPECT_EQ(library::Disable_VCCntls, 1);
    EXPECT_EQ(read("KXC_CONFIG.INI"), kDefault);
}

TEST_F(ConfigTest, BothDigitsZeroUnlockEverything) {
    write("KXData.dat", "cat;animal:");
    startWith(withDigits("0", "0"));
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 0);
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_TRUE(desk.windowVisible(platform::Window::AddPuzzle));
    desk.pressButton(ui::id::ViewButton);
    EXPECT_EQ(desk.control(ui::id::PhraseEdit).text, "cat");
    EXPECT_EQ(desk.beeps(), 0);
}

TEST_F(ConfigTest, KeysAreNotComparedOnlyTheOrderCounts) {
    startWith("Disable_VCCntls= 7\nDisable_Console= 0\n");
    EXPECT_EQ(library::Disable_Console, 7);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(ConfigTest, BlanksAndLineEndsBeforeTheDigitAreSkipped) {
    startWith("Disable_Console=0\nDisable_VCCntls=  \n\n \t 1\n");
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 1);
}

TEST_F(ConfigTest, ReadingStopsAtTheFirstOtherCharacter) {
    startWith("a=12abc=-3// rest=9");
    EXPECT_EQ(library::Disable_Console, 12);
    EXPECT_EQ(library::Disable_VCCntls, -3);
}

TEST_F(ConfigTest, DisableConsoleTwoMakesAddPuzzlesSilent) {
    startWith(withDigits("2", "0"));
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(desk.beeps(), 0);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_FALSE(desk.windowVisible(platform::Window::AddPuzzle));
    EXPECT_EQ(library::libraryState.addWindowToggleCount, 0);
}

TEST_F(ConfigTest, DisableVCCntlsSevenMakesViewAndDeleteBeep) {
    write("KXData.dat", "cat;animal:dog;pet:");
    startWith(withDigits("0", "7"));
    EXPECT_EQ(library::Disable_VCCntls, 7);
    desk.pressButton(ui::id::ViewButton);
    desk.pressButton(ui::id::DeleteButton);
    EXPECT_EQ(desk.beeps(), 2);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_EQ(library::puzzleViewer.step, 0);
    EXPECT_EQ(read("KXData.dat"), "cat;animal:dog;pet:");
}

TEST_F(ConfigTest, AnEmptyFileUnlocksBothAndStaysEmpty) {
    startWith("");
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 0);
    EXPECT_EQ(read("KXC_CONFIG.INI"), "");
}

TEST_F(ConfigTest, AWordForTheFirstNumberUnlocksBoth) {
    std::string s = kDefault;
    s.replace(s.find("= 1") + 2, 1, "yes");
    startWith(s);
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(ConfigTest, AFileWithoutASecondNumberUnlocksOnlyThatOne) {
    startWith("Disable_Console= 1\n");
    EXPECT_EQ(library::Disable_Console, 1);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(ConfigTest, ANumberBeyondThirtyTwoBitsSaturatesAndStopsTheReading) {
    startWith("x= 99999999999\ny= 0\n");
    EXPECT_EQ(library::Disable_Console, 2147483647);
    EXPECT_EQ(library::Disable_VCCntls, 0);
    testing_support::resetProgramState();
    startWith("x= -99999999999\ny= 1\n");
    EXPECT_EQ(library::Disable_Console, -2147483647 - 1);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(ConfigTest, AnUnreadableConfigurationStaysLockedAndIsNotReplaced) {
    std::filesystem::create_directory(file("KXC_CONFIG.INI"));
    start();
    EXPECT_EQ(library::Disable_Console, 1);
    EXPECT_EQ(library::Disable_VCCntls, 1);
    EXPECT_TRUE(std::filesystem::is_directory(file("KXC_CONFIG.INI")));
}

TEST_F(ConfigTest, ConfigIsReadAsTheLastStepOfStartUp) {
    write("KXC_CONFIG.INI", withDigits("0", "0"));
    app::startProgram((dir / "tarvik-kxv").string());
    const auto& calls = desk.calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "showWindow MainWindow");
    EXPECT_EQ(library::Disable_Console, 0);
}

}  // namespace
