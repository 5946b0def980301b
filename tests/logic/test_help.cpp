// HelpButton through the in-memory desktop: the order of cue, search, box
// and open, the refusal without default processing, the failure box, and
// presses made while a box is still open.
#include <string>
#include <vector>

#include "Fixture.h"
#include "game/Mute.h"
#include "help/HelpLauncher.h"
#include "platform/DocumentTitle.h"
#include "ui/SoundCues.h"

namespace {

using platform::MB_OK;
using platform::MB_TOPMOST;
using platform::Window;

const std::string kClick = "playWave 4450";
const std::string kSearch = "topLevelWindowExists ZPT Quorvel";
const std::string kInUseBox =
    "messageBox System - Permission Denied: terminating request... help program is currently in use.";
const std::string kFailedBox = "messageBox Error - Tarvik_KXv: Help files could not be opened...";
const std::string kDefault = "default MainWindow 0";

class HelpTest : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        start();
    }
    std::string openCall() const { return "openDocument " + library::appPaths.helpPath; }
    void pressHelp() { desk.pressButton(ui::id::HelpButton); }
};

TEST_F(HelpTest, OpensTheHelpFileBesideTheProgram) {
    EXPECT_EQ(library::appPaths.helpPath, (dir / "Tarvik_kxv-help.chm").string());
    pressHelp();
    const std::vector<std::string> expected = {kClick, kSearch, openCall(), kDefault};
    EXPECT_EQ(desk.calls(), expected);
    EXPECT_TRUE(desk.messageBoxes().empty());
    ASSERT_EQ(desk.openedDocuments().size(), 1u);
    EXPECT_EQ(desk.openedDocuments()[0], library::appPaths.helpPath);
}

TEST_F(HelpTest, ClickIsHeardEvenWhileMuted) {
    desk.pressButton(ui::id::SoundButton);
    ASSERT_TRUE(game::soundMuted());
    desk.clearCalls();
    pressHelp();
    ASSERT_FALSE(desk.calls().empty());
    EXPECT_EQ(desk.calls().front(), kClick);
    EXPECT_EQ(desk.count(openCall()), 1);
}

TEST_F(HelpTest, OpenHelpWindowRefusesWithTopmostBoxAndNoDefaultProcessing) {
    desk.addForeignWindowTitle("ZPT Quorvel");
    pressHelp();
    const std::vector<std::string> expected = {kClick, kSearch, kInUseBox};
    EXPECT_EQ(desk.calls(), expected);
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].style, MB_TOPMOST);
    EXPECT_TRUE(desk.openedDocuments().empty());
    EXPECT_FALSE(help::LaunchHelp(Window::Main));
}

TEST_F(HelpTest, AViewerThatPutsItsNameBeforeTheTitleCountsAsTheHelpWindow) {
    for (const std::string title : {"xCHM v. 1.35: ZPT Quorvel", "kchmviewer - ZPT Quorvel"}) {
        desk.addForeignWindowTitle(title);
        desk.clearCalls();
        pressHelp();
        const std::vector<std::string> expected = {kClick, kSearch, kInUseBox};
        EXPECT_EQ(desk.calls(), expected) << title;
        desk.removeForeignWindowTitle(title);
    }
    EXPECT_TRUE(desk.openedDocuments().empty());
}

TEST_F(HelpTest, OtherTitlesThatMerelyMentionItDoNotCount) {
    for (const char* title : {"ZPT Quorvel - other", "zpt quorvel", "xCHM: zpt quorvel", "NotZPT Quorvel",
                              "x:ZPT Quorvel", "x -ZPT Quorvel", "ZPT Quorvel ", "kchmviewer - ZPT Quorvel2"}) {
        desk.addForeignWindowTitle(title);
    }
    pressHelp();
    EXPECT_TRUE(desk.messageBoxes().empty());
    EXPECT_EQ(desk.count(openCall()), 1);
}

TEST_F(HelpTest, OpensAgainAfterTheHelpWindowWasClosed) {
    desk.addForeignWindowTitle("ZPT Quorvel");
    pressHelp();
    EXPECT_EQ(desk.count(openCall()), 0);
    desk.removeForeignWindowTitle("ZPT Quorvel");
    desk.clearCalls();
    pressHelp();
    const std::vector<std::string> expected = {kClick, kSearch, openCall(), kDefault};
    EXPECT_EQ(desk.calls(), expected);
    EXPECT_EQ(desk.messageBoxes().size(), 1u);  // only the earlier refusal
}

TEST_F(HelpTest, FailedOpenShowsTheErrorBoxThenDefaultProcessing) {
    desk.setOpenDocumentResult(false);
    pressHelp();
    const std::vector<std::string> expected = {kClick, kSearch, openCall(), kFailedBox, kDefault};
    EXPECT_EQ(desk.calls(), expected);
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].style, MB_OK);
    EXPECT_TRUE(help::LaunchHelp(Window::Main));
}

TEST_F(HelpTest, SecondPressWhileRefusalBoxIsOpenIsRefusedToo) {
    desk.addForeignWindowTitle("ZPT Quorvel");
    int pressesInsideBox = 0;
    desk.whileMessageBoxOpen = [&](const platform::MemoryDesktop::MessageBoxCall&) {
        if (pressesInsideBox++ == 0) pressHelp();
    };
    pressHelp();
    const std::vector<std::string> expected = {kClick, kSearch, kInUseBox,
                                               kClick, kSearch, kInUseBox};
    EXPECT_EQ(desk.calls(), expected);
    EXPECT_EQ(desk.count(kDefault), 0);
    EXPECT_TRUE(desk.openedDocuments().empty());
}

TEST_F(HelpTest, PressWhileErrorBoxIsOpenTriesAgainAndCanSucceed) {
    desk.setOpenDocumentResult(false);
    int pressesInsideBox = 0;
    desk.whileMessageBoxOpen = [&](const platform::MemoryDesktop::MessageBoxCall&) {
        if (pressesInsideBox++ == 0) {
            desk.setOpenDocumentResult(true);  // say a viewer was installed meanwhile
            pressHelp();
        }
    };
    pressHelp();
    const std::vector<std::string> expected = {kClick,   kSearch,  openCall(), kFailedBox,
                                               kClick,   kSearch,  openCall(), kDefault,
                                               kDefault};
    EXPECT_EQ(desk.calls(), expected);
    EXPECT_EQ(desk.openedDocuments().size(), 1u);
    EXPECT_EQ(desk.messageBoxes().size(), 1u);
}

TEST(HelpWindowTitle, TheTitleAloneOrAfterAViewersNameWithColonOrDash) {
    using platform::titleShowsDocument;
    EXPECT_TRUE(titleShowsDocument("ZPT Quorvel", "ZPT Quorvel"));
    EXPECT_TRUE(titleShowsDocument("xCHM v. 1.35: ZPT Quorvel", "ZPT Quorvel"));
    EXPECT_TRUE(titleShowsDocument("kchmviewer - ZPT Quorvel", "ZPT Quorvel"));
    EXPECT_TRUE(titleShowsDocument(": ZPT Quorvel", "ZPT Quorvel"));
    EXPECT_FALSE(titleShowsDocument("ZPT Quorvel: xCHM", "ZPT Quorvel"));
    EXPECT_FALSE(titleShowsDocument("Quorvel", "ZPT Quorvel"));
    EXPECT_FALSE(titleShowsDocument("", "ZPT Quorvel"));
    EXPECT_FALSE(titleShowsDocument("a - b", ""));
    EXPECT_TRUE(titleShowsDocument("", ""));
}

TEST_F(HelpTest, PressChangesNoGameState) {
    desk.pressButton(ui::id::NewGameButton);
    const auto before = game::roundState;
    desk.clearCalls();
    pressHelp();
    desk.addForeignWindowTitle("ZPT Quorvel");
    pressHelp();
    EXPECT_EQ(game::roundState.gameInProgress, before.gameInProgress);
    EXPECT_EQ(game::roundState.wrongGuesses, before.wrongGuesses);
    EXPECT_EQ(game::roundState.soundToggleCount, before.soundToggleCount);
    EXPECT_EQ(game::roundState.display, before.display);
    EXPECT_EQ(desk.beeps(), 0);
}

}  // namespace
