// The arrow keys nudge the main window and the add window together, and do
// nothing while the add window is shown.
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary = kSixRecords;

// A spot of bare background, away from every control and the title strip.
constexpr int kEmptyX = 600, kEmptyY = 300;

class ArrowKeys : public ProgramTest {
protected:
    bool mainAt(const std::string& id, int x, int y) {
        return waitUntil([&] {
            auto g = xdo_->geometry(id);
            return g && g->x == x && g->y == y && g->width == 900 && g->height == 620;
        }, 2s);
    }
    // Starts the game and gives its main window the focus by a click on
    // bare background; returns the main window's id.
    std::string startFocused() {
        writeLibrary(kLibrary);
        launch();
        const std::string main = waitForMainWindow();
        EXPECT_FALSE(main.empty()) << program_.describeEnd();
        if (main.empty()) return main;
        EXPECT_TRUE(clickToFocus(main, mainX(kEmptyX), mainY(kEmptyY))) << "a click does not focus the main window";
        return main;
    }
    std::string where(const std::string& id) {
        auto g = xdo_->geometry(id);
        if (!g) return "unknown";
        return std::to_string(g->x) + "," + std::to_string(g->y) + " " + std::to_string(g->width) +
               "x" + std::to_string(g->height);
    }
};

TEST_F(ArrowKeys, EachArrowMovesTheMainWindowByTwoPixels) {
    const std::string main = startFocused();
    ASSERT_FALSE(main.empty());

    xdo_->key("Left");
    EXPECT_TRUE(mainAt(main, 60, 6)) << "after Left: " << where(main);
    xdo_->key("Right");
    EXPECT_TRUE(mainAt(main, 62, 6)) << "after Right: " << where(main);
    xdo_->key("Up");
    EXPECT_TRUE(mainAt(main, 62, 4)) << "after Up: " << where(main);
    xdo_->key("Down");
    EXPECT_TRUE(mainAt(main, 62, 6)) << "after Down: " << where(main);
    xdo_->key("Down");
    xdo_->key("Right");
    EXPECT_TRUE(mainAt(main, 64, 8)) << "after Down, Right: " << where(main);

    // Other keys do nothing.
    xdo_->key("a");
    xdo_->key("Return");
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    EXPECT_TRUE(mainAt(main, 64, 8)) << "after other keys: " << where(main);
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

TEST_F(ArrowKeys, TheHiddenAddWindowMovesAlongAndAShownOneBlocksTheKeys) {
    writeConfig(kUnlockedConfig);
    const std::string main = startFocused();
    ASSERT_FALSE(main.empty());
    xdo_->key("Left");
    xdo_->key("Up");
    ASSERT_TRUE(mainAt(main, 60, 4)) << "after Left, Up: " << where(main);

    clickControl(ui::id::AddPuzzlesButton);
    const std::string add = waitForWindow("Add_Puzzle");
    ASSERT_FALSE(add.empty()) << "the add window does not open";
    auto g = xdo_->geometry(add);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, kAddLeft - 2) << "the hidden add window did not move with the main window";
    EXPECT_EQ(g->y, kAddTop - 2);

    // Shown: the keys beep and move nothing, with the focus where
    // AddPuzzlesButton put it and on the main window clicked. The beep shows
    // that the program has handled the key.
    int bells = x_.bells();
    xdo_->key("Right");
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s))
        << "a blocked arrow key right after AddPuzzlesButton does not beep";
    EXPECT_TRUE(clickToFocus(main, mainX(kEmptyX) - 2, mainY(400) - 2)) << "a click does not focus the main window";
    bells = x_.bells();
    xdo_->key("Right");
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s))
        << "a blocked arrow key with the main window clicked does not beep";
    EXPECT_TRUE(mainAt(main, 60, 4)) << "the main window moved: " << where(main);
    auto after = xdo_->geometry(add);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->x, kAddLeft - 2);
    EXPECT_EQ(after->y, kAddTop - 2);
}

TEST_F(ArrowKeys, TheyWorkWithTheMessageWindowFocusedAndLeaveItInPlace) {
    writeLibrary(kLibrary);
    launch();
    const std::string main = waitForMainWindow();
    ASSERT_FALSE(main.empty()) << program_.describeEnd();
    xdo_->click(mainX(300), mainY(12));
    const std::string message = waitForWindow("Message_KXv");
    ASSERT_FALSE(message.empty()) << "the title strip does not open the message window";
    ASSERT_TRUE(clickToFocus(message, kMessageLeft + 40, kMessageTop + 20))   // its picture, away from OK
        << "a click does not focus the message window";
    xdo_->key("Right");
    EXPECT_TRUE(mainAt(main, 64, 6)) << "Right with the message window focused: " << where(main);
    auto g = xdo_->geometry(message);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, kMessageLeft) << "the message window moved";
    EXPECT_EQ(g->y, kMessageTop);
}

}  // namespace
}  // namespace e2e
