// Start-up order, window placement, the dispatch of messages and the arrow keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/GameWindowProc.h"
#include "game/Mute.h"
#include "library/LibraryState.h"
#include "tests/logic/Fixture.h"
#include "ui/Bitmaps.h"
#include "ui/SoundCues.h"

namespace {

using platform::Message;
using platform::Rect;
using platform::Window;
using testing_support::ProgramTest;

TEST(WindowPlacementTest, HalvesOfTheScreenAreSixteenBitAndUnclamped) {
    const auto w = ui::windowSpecs(1024, 768);
    EXPECT_EQ((Rect{w[0].left, w[0].top, w[0].left + w[0].width, w[0].top + w[0].height}),
              (Rect{62, 6, 962, 626}));
    EXPECT_EQ(w[1].left, 162);
    EXPECT_EQ(w[1].top, -66);
    EXPECT_EQ(w[1].width, 698);
    EXPECT_EQ(w[1].height, 400);
    EXPECT_EQ(w[2].left, 234);
    EXPECT_EQ(w[2].top, 34);
    EXPECT_EQ(w[2].width, 317);
    EXPECT_EQ(w[2].height, 100);

    const auto small = ui::windowSpecs(800, 600);
    EXPECT_EQ(small[0].left, -50);
    EXPECT_EQ(small[0].top, -78);

    // A screen wider than 16 bits can hold wraps its half, as the platform does.
    const auto huge = ui::windowSpecs(2 * 40000, 768);
    EXPECT_EQ(huge[0].left, static_cast<std::int16_t>(40000) - 450);
}

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, WindowsAreCreatedInOrderAndOnlyTheMainWindowShows) {
    app::startProgram((dir / "tarvik-kxv").string());
    std::vector<std::string> windowCalls;
    for (const auto& call : desk.calls()) {
        if (call.find("Window ") != std::string::npos) windowCalls.push_back(call);
    }
    const std::vector<std::string> expected = {
        "createWindow MainWindow",    "createWindow AddPuzzleWindow", "hideWindow AddPuzzleWindow",
        "createWindow MessageWindow", "hideWindow MessageWindow",     "showWindow MainWindow"};
    EXPECT_EQ(windowCalls, expected);
    EXPECT_TRUE(desk.windowVisible(Window::Main));
    EXPECT_FALSE(desk.windowVisible(Window::AddPuzzle));
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    EXPECT_EQ(desk.window(Window::Main).title, "Tarvik_KXv");
    EXPECT_EQ(desk.window(Window::AddPuzzle).title, "Add_Puzzle");
    EXPECT_EQ(desk.window(Window::Message).title, "Message_KXv");
    EXPECT_EQ(desk.windowRect(Window::Main), (Rect{62, 6, 962, 626}));
}

TEST_F(StartupTest, ControlsAreCreatedInTableOrderWithTheStatisticsInBetween) {
    app::startProgram((dir / "tarvik-kxv").string());
    const auto& c = desk.calls();
    std::vector<int> created;
    for (const auto& call : desk.callsStartingWith("createControl ")) created.push_back(std::stoi(call.substr(14)));
    ASSERT_EQ(created.size(), 77u);
    for (std::size_t i = 0; i < created.size(); ++i) EXPECT_EQ(created[i], ui::controlTable[i].id);

    // Right after HintDisplay: the six statistics texts, in their order.
    auto hint = std::find(c.begin(), c.end(), "createControl 1930");
    ASSERT_NE(hint, c.end());
    const std::vector<std::string> stats(hint + 1, hint + 7);
    const std::vector<std::string> expected = {"setText 1810 0", "setText 1840 0", "setText 1750 0",
                                               "setText 1780 0", "setText 1690 0", "setText 1720 0"};
    EXPECT_EQ(stats, expected);
    EXPECT_EQ(*(hint + 7), "createControl 1960");

    auto limit = std::find(c.begin(), c.end(), "createControl 4400");
    ASSERT_NE(limit, c.end());
    EXPECT_EQ(*(limit + 1), "setText 4400 7");

    // The win pictures and the figure-mode indicator hide right after their own creation.
    for (int id : {3820, 4950, 6600}) {
        auto it = std::find(c.begin(), c.end(), "createControl " + std::to_string(id));
        ASSERT_NE(it, c.end());
        EXPECT_EQ(*(it + 1), "hide " + std::to_string(id));
    }
}

TEST_F(StartupTest, PicturesGetTheirBitmapsThenTheHiddenOnesHideInOrder) {
    app::startProgram((dir / "tarvik-kxv").string());
    const auto& c = desk.calls();
    auto lastCreate = std::find(c.begin(), c.end(), "createControl 5250");
    ASSERT_NE(lastCreate, c.end());
    std::vector<std::string> after(lastCreate + 1, c.end());
    std::vector<std::string> assigned;
    std::vector<std::string> hidden;
    for (const auto& call : after) {
        if (call.rfind("assignBitmap ", 0) == 0) {
            EXPECT_TRUE(hidden.empty()) << "a bitmap was assigned after the hiding began";
            assigned.push_back(call);
        }
        if (call.rfind("hide ", 0) == 0) hidden.push_back(call.substr(5));
    }
    int pictures = 0;
    for (const auto& row : ui::controlTable) pictures += row.kind == ui::ControlKind::Picture;
    EXPECT_EQ(assigned.size(), static_cast<std::size_t>(pictures));
    const std::vector<std::string> order = {"6100", "7000", "2350", "2400", "2450", "2500",
                                            "2550", "2600", "7100", "7400", "7600", "7800",
                                            "8000", "8200", "8400", "8600"};
    EXPECT_EQ(hidden, order);
}

TEST_F(StartupTest, NoGameIsInProgressAndTheBoardIsClean) {
    start();
    for (int k = 0; k < 26; ++k) EXPECT_TRUE(desk.visible(ui::id::LetterTile(k))) << k;
    for (const auto& row : ui::controlTable) {
        const bool tile = row.id >= 160 && row.id <= 1660 && (row.id - 160) % 60 == 0;
        if (row.kind == ui::ControlKind::Picture && !tile) {
            EXPECT_FALSE(desk.visible(row.id)) << row.name;
        }
    }
    for (int id : {ui::id::PhraseDisplay, ui::id::PhraseUnderlay, ui::id::HintDisplay, ui::id::MissedLetters}) {
        EXPECT_EQ(desk.text(id), "") << id;
    }
    EXPECT_EQ(desk.text(ui::id::GuessLimitDisplay), "7");
    EXPECT_EQ(game::roundState.gameInProgress, 0);
    EXPECT_EQ(game::roundState.currentPlayer, 1);
    // Picture controls take their bitmap's size: WinPictureRight's bitmap is 30 high, its row says 23.
    EXPECT_EQ(desk.controlRect(ui::id::WinPictureRight).height(), 30);
}

class DispatchTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        start();
    }
};

TEST_F(DispatchTest, MinimizePlaysItsCueEvenMutedThenMinimisesAndGoesOnToDefault) {
    game::roundState.soundToggleCount = 1;
    desk.pressButton(ui::id::MinimizeButton);
    const std::vector<std::string> expected = {"playWave 4500", "minimizeWindow MainWindow",
                                               "default MainWindow 0"};
    EXPECT_EQ(desk.calls(), expected);
}

TEST_F(DispatchTest, UnknownCommandsOnlyGetDefaultProcessing) {
    platform::sendMessage(Window::Main, Message::Command, 1234);
    EXPECT_EQ(desk.calls(), std::vector<std::string>{"default MainWindow 0"});
    // Only the low 16 bits carry the identifier; the notification code is ignored.
    desk.clearCalls();
    platform::sendMessage(Window::Main, Message::Command, (7u << 16) | 4000u);
    EXPECT_EQ(desk.wavesPlayed(), std::vector<int>{4500});
}

TEST_F(DispatchTest, ButtonReleaseFocusesTheWindowThatGotIt) {
    platform::sendMessage(Window::AddPuzzle, Message::LButtonUp, 0, platform::pointToLParam({5, 5}));
    EXPECT_EQ(desk.calls(), std::vector<std::string>{"setFocus AddPuzzleWindow"});
}

TEST_F(DispatchTest, DestroyOfAnyWindowPostsQuitWithZero) {
    platform::sendMessage(Window::Message, Message::Destroy);
    EXPECT_TRUE(desk.quitPosted());
    EXPECT_EQ(desk.exitCode(), 0);
}

TEST_F(DispatchTest, ExitDestroysTheMainWindowAndItsOwnedWindowsWithoutASound) {
    desk.pressButton(ui::id::ExitButton);
    EXPECT_TRUE(desk.window(Window::Main).destroyed);
    EXPECT_TRUE(desk.window(Window::AddPuzzle).destroyed);
    EXPECT_TRUE(desk.window(Window::Message).destroyed);
    EXPECT_TRUE(desk.quitPosted());
    EXPECT_EQ(desk.exitCode(), 0);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_EQ(desk.beeps(), 0);
}

TEST_F(DispatchTest, ACloseRequestRunsTheOrderlyExitOnce) {
    platform::sendMessage(Window::AddPuzzle, Message::Close);
    EXPECT_TRUE(desk.window(Window::Main).destroyed);
    EXPECT_TRUE(desk.quitPosted());
    EXPECT_TRUE(exists("KXStats.dat"));
    // A second close (e.g. a signal during shutdown) does nothing more.
    desk.clearCalls();
    platform::sendMessage(Window::Main, Message::Close);
    EXPECT_TRUE(desk.callsStartingWith("destroyWindow").empty());
}

TEST_F(DispatchTest, SoundButtonClicksThenTogglesTheMuteThenFocusesBack) {
    desk.pressButton(ui::id::SoundButton);
    EXPECT_EQ(desk.calls(), (std::vector<std::string>{"playWave 4450", "setFocus MainWindow",
                                                      "default MainWindow 0"}));
    EXPECT_TRUE(game::soundMuted());
    desk.pressButton(ui::id::SoundButton);
    EXPECT_FALSE(game::soundMuted());
    EXPECT_EQ(desk.count("playWave 4450"), 2);
}

class ArrowKeyTest : public DispatchTest {
protected:
    void key(int vk, Window w = Window::Main) { platform::sendMessage(w, Message::KeyDown, vk); }
};

TEST_F(ArrowKeyTest, LeftUpRightMoveTheMainWindowFirstDownTheAddWindowFirst) {
    key(platform::VK_LEFT);
    key(platform::VK_UP, Window::Message);
    key(platform::VK_RIGHT, Window::AddPuzzle);
    key(platform::VK_DOWN);
    const std::vector<std::string> expected = {
        "moveWindow MainWindow 60 6 900 620",       "moveWindow AddPuzzleWindow 160 -66 698 400",
        "moveWindow MainWindow 60 4 900 620",       "moveWindow AddPuzzleWindow 160 -68 698 400",
        "moveWindow MainWindow 62 4 900 620",       "moveWindow AddPuzzleWindow 162 -68 698 400",
        "moveWindow AddPuzzleWindow 162 -66 698 400", "moveWindow MainWindow 62 6 900 620"};
    EXPECT_EQ(desk.callsStartingWith("moveWindow"), expected);
}

TEST_F(ArrowKeyTest, SizesAreKeptWhateverTheWindowsRectanglesSay) {
    desk.window(Window::Main).rect = {100, 100, 150, 150};
    key(platform::VK_RIGHT);
    EXPECT_EQ(desk.windowRect(Window::Main), (Rect{102, 100, 1002, 720}));
}

TEST_F(ArrowKeyTest, WhileTheAddWindowShowsEveryArrowBeepsAndNothingMoves) {
    library::libraryState.addWindowToggleCount = 3;
    for (int vk : {platform::VK_LEFT, platform::VK_UP, platform::VK_RIGHT, platform::VK_DOWN}) key(vk);
    EXPECT_EQ(desk.beeps(), 4);
    EXPECT_TRUE(desk.callsStartingWith("moveWindow").empty());
}

TEST_F(ArrowKeyTest, OtherKeysDoNothing) {
    key('A');
    key(0x0D);
    library::libraryState.addWindowToggleCount = 1;
    key(' ');
    EXPECT_TRUE(desk.calls().empty());
}

}  // namespace
