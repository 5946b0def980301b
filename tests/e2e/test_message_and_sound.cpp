// The title strip opens the message window once per run and its OK closes
// it; the sound switch silences the cues that obey it. The default beep is a
// bell on the X server; the cues are heard on the sound server.
#include "tests/e2e/Harness.h"
#include "tests/e2e/SoundServer.h"
#include "ui/Controls.h"
#include "ui/SoundCues.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary =
    "first;opening record:kiwi tea;a drink:kiwi tea;a drink:kiwi tea;a drink:"
    "kiwi tea;a drink:last;closing record:";

class MessageAndSound : public ProgramTest {
protected:
    std::size_t mark() const { return recording().sampleCount(); }
    const SoundRecorder& recording() const { return *recorder_; }

    // Whether the first sound after `from` is the cue, whole.
    bool heard(std::size_t from, ui::SoundCue cue) {
        const auto sounds = waitForSounds(*recorder_, from, 1, 150ms, 3s);
        return !sounds.empty() &&
               cueMatch(recorder_->samples(), sounds.front().start, ui::cueSpec(cue).resource) > 0.8;
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
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the click";
    EXPECT_FALSE(windowVisible("Message_KXv")) << "the message window opened a second time";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

TEST_F(MessageAndSound, TheStripDoesNothingDuringAGame) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after New Game";
    xdo_->click(mainX(300), mainY(12));
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the click";
    EXPECT_FALSE(windowVisible("Message_KXv")) << "the message window opened during a game";
    // Once the game is won the same click opens it.
    for (char letter : std::string("KIWTEA")) clickTile(letter);
    ASSERT_TRUE(waitForGameEnd()) << "the phrase's letters do not end the game";
    xdo_->click(mainX(300), mainY(12));
    EXPECT_FALSE(waitForWindow("Message_KXv").empty()) << "after the game the strip does not open the message window";
}

TEST_F(MessageAndSound, TheStripDoesNothingWhileTheAddWindowIsShown) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::AddPuzzlesButton);
    ASSERT_FALSE(waitForWindow("Add_Puzzle").empty()) << "the add window does not open";
    xdo_->click(mainX(50), mainY(12));   // the part of the strip left of the add window
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the click";
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

    // Sound on: New Game's cue and a miss's cue are heard.
    std::size_t from = mark();
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(heard(from, ui::SoundCue::NewGame)) << "New Game made no sound";
    from = mark();
    clickTile('Z');
    EXPECT_TRUE(heard(from, ui::SoundCue::Miss)) << "a miss made no sound";

    // Muted: the SoundButton's own click is heard, New Game and a miss are
    // not. A click cue, which ignores the mute, follows each: the program
    // handles it after the action, so when the first sound heard after the
    // action is that click, the action was handled and made no sound.
    from = mark();
    clickControl(ui::id::SoundButton);
    EXPECT_TRUE(heard(from, ui::SoundCue::Click)) << "the SoundButton press made no click";
    from = mark();
    clickControl(ui::id::NewGameButton);
    clickControl(ui::id::PlayerOneButton);
    EXPECT_TRUE(heard(from, ui::SoundCue::Click))
        << "New Game is heard while muted, or the mute silences a click cue";
    from = mark();
    clickTile('Q');
    clickControl(ui::id::SoundButton);   // unmutes, with its click
    EXPECT_TRUE(heard(from, ui::SoundCue::Click)) << "a miss is heard while muted";

    // Unmuted again.
    from = mark();
    clickTile('X');
    EXPECT_TRUE(heard(from, ui::SoundCue::Miss)) << "a miss is silent after unmuting";
    EXPECT_EQ(x_.bells(), 0) << "a cue rang the bell although the sound server took it";
}

TEST_F(MessageAndSound, MinimizeButtonIsHeardWhileMuted) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    std::size_t from = mark();
    clickControl(ui::id::SoundButton);
    ASSERT_TRUE(heard(from, ui::SoundCue::Click)) << "the SoundButton press made no click";
    from = mark();
    clickControl(ui::id::MinimizeButton);
    EXPECT_TRUE(heard(from, ui::SoundCue::Minimize)) << "MinimizeButton's cue is silenced by the mute";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

}  // namespace
}  // namespace e2e
