// The title strip opens the message window once per run and its OK closes
// it; the sound switch silences the cues that obey it. Without a sound
// device every cue falls back to the default beep, which the X server
// reports as a bell, so the bells count the cues.
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary =
    "first;opening record:kiwi tea;a drink:kiwi tea;a drink:kiwi tea;a drink:"
    "kiwi tea;a drink:last;closing record:";

class MessageAndSound : public ProgramTest {
protected:
    // Waits a moment and reports the bells rung since `before`.
    int bellsAfterQuiet(int before) {
        sleepFor(700ms);
        return x_.bells() - before;
    }
};

TEST_F(MessageAndSound, TheTitleStripOpensTheMessageWindowOnceAndOkClosesIt) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const int bells = x_.bells();
    xdo_->click(mainX(300), mainY(12));
    const std::string message = waitForWindow("Message_KXv");
    ASSERT_FALSE(message.empty()) << "a click on the title strip does not show Message_KXv";
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s)) << "opening the message window does not beep";
    auto g = xdo_->geometry(message);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, kMessageLeft);
    EXPECT_EQ(g->y, kMessageTop);
    EXPECT_EQ(g->width, 317);
    EXPECT_EQ(g->height, 100);
    {
        const QImage shot = settledScreenshot();
        EXPECT_TRUE(showsPicture(shot, 1870, kMessageLeft, kMessageTop, 0.9))
            << "the message window does not show its picture";
        const ScreenRect ok = controlOnScreen(ui::id::MessageCloseButton);
        EXPECT_TRUE(showsPicture(shot, 2300, ok.left, ok.top)) << "no OK face";
    }

    clickControl(ui::id::MessageCloseButton);
    EXPECT_TRUE(waitUntil([&] { return !windowVisible("Message_KXv"); }, 3s))
        << "OK does not close the message window";

    // A second click on the strip does nothing.
    xdo_->click(mainX(200), mainY(5));
    sleepFor(600ms);
    EXPECT_FALSE(windowVisible("Message_KXv")) << "the message window opened a second time";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

TEST_F(MessageAndSound, TheStripDoesNothingDuringAGame) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::NewGameButton);
    sleepFor(400ms);
    xdo_->click(mainX(300), mainY(12));
    sleepFor(600ms);
    EXPECT_FALSE(windowVisible("Message_KXv")) << "the message window opened during a game";
}

TEST_F(MessageAndSound, TheStripDoesNothingWhileTheAddWindowIsShown) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::AddPuzzlesButton);
    ASSERT_FALSE(waitForWindow("Add_Puzzle").empty()) << "the add window does not open";
    xdo_->click(mainX(50), mainY(12));   // the part of the strip left of the add window
    sleepFor(600ms);
    EXPECT_FALSE(windowVisible("Message_KXv")) << "the message window opened over the add window";
    clickControl(ui::id::AddPuzzlesButton);
    ASSERT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 3s));
    xdo_->click(mainX(50), mainY(12));
    EXPECT_FALSE(waitForWindow("Message_KXv").empty())
        << "with the add window hidden again the strip does not open the message window";
}

TEST_F(MessageAndSound, MuteSilencesTheCuesThatObeyItButNotTheClick) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    sleepFor(500ms);
    const int start = x_.bells();

    // Sound on: New Game's cue and a miss's cue are heard.
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(x_.waitForBells(start + 1, 3s))
        << "New Game made no sound: with no sound device a cue must fall back to the default beep";
    clickTile('Z');
    EXPECT_TRUE(x_.waitForBells(start + 2, 3s)) << "a miss made no sound";

    // Muted: the SoundButton's own click is heard, New Game and a miss are not.
    int before = x_.bells();
    clickControl(ui::id::SoundButton);
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s)) << "the SoundButton press made no click";
    sleepFor(300ms);
    before = x_.bells();
    clickControl(ui::id::NewGameButton);
    EXPECT_EQ(bellsAfterQuiet(before), 0) << "New Game is heard while muted";
    before = x_.bells();
    clickControl(ui::id::PlayerOneButton);   // a click cue, which ignores the mute
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s)) << "a click cue is silenced by the mute";
    sleepFor(300ms);
    before = x_.bells();
    clickTile('Q');
    EXPECT_EQ(bellsAfterQuiet(before), 0) << "a miss is heard while muted";

    // Unmuted again.
    sleepFor(300ms);
    before = x_.bells();
    clickControl(ui::id::SoundButton);
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s));
    sleepFor(300ms);
    before = x_.bells();
    clickTile('X');
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s)) << "a miss is silent after unmuting";
}

TEST_F(MessageAndSound, MinimizeButtonIsHeardWhileMuted) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    int before = x_.bells();
    clickControl(ui::id::SoundButton);
    ASSERT_TRUE(x_.waitForBells(before + 1, 3s)) << "the SoundButton press made no click";
    sleepFor(300ms);
    before = x_.bells();
    clickControl(ui::id::MinimizeButton);
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s)) << "MinimizeButton's cue is silenced by the mute";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

}  // namespace
}  // namespace e2e
