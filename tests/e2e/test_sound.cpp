// What a player hears: every cue reaches the sound server every time, whole,
// and a new cue cuts off the one playing. Checked in the recording of the
// private sound server's sink.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "tests/e2e/Harness.h"
#include "tests/e2e/SoundServer.h"
#include "ui/Controls.h"
#include "ui/SoundCues.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A phrase of 19 different letters, so that 15 hits leave the game open.
const std::string kPangramLibrary =
    "first;opening record:the quick brown fox jumps;a pangram:the quick brown fox jumps;a pangram:"
    "the quick brown fox jumps;a pangram:last;closing record:";
const std::string kKiwiLibrary =
    "first;opening record:kiwi tea;a drink:kiwi tea;a drink:kiwi tea;a drink:"
    "kiwi tea;a drink:last;closing record:";

int resourceOf(ui::SoundCue cue) { return ui::cueSpec(cue).resource; }

class Sound : public ProgramTest {
protected:
    std::size_t mark() const { return recorder_->sampleCount(); }

    // Waits until the sounds started since `from` have all ended.
    std::vector<e2e::Sound> heardSince(std::size_t from, std::size_t count,
                                       std::chrono::milliseconds gap = 150ms,
                                       std::chrono::milliseconds timeout = 8s) {
        return waitForSounds(recording(), from, count, gap, timeout);
    }

    void start(const std::string& library, bool unlocked = false) {
        writeLibrary(library);
        if (unlocked) writeConfig(kUnlockedConfig);
        launch();
        ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    }
};

TEST_F(Sound, ThirtyPressesOfAClickButtonAreHeardThirtyTimesEachSoonAfterTheClick) {
    start(kKiwiLibrary);
    const ScreenRect button = controlOnScreen(ui::id::SoundButton);
    xdo_->moveTo(button.centreX(), button.centreY());
    const std::size_t from = mark();
    std::vector<Clock::time_point> clicks;
    for (int i = 0; i < 30; ++i) {
        // As fast as xdotool clicks: about as fast as a quick player's.
        clicks.push_back(Clock::now());
        run({"xdotool", "click", "1"}, {{"DISPLAY", x_.display()}});
    }
    const auto sounds = waitForSounds(recording(), from, 30, 40ms, 5s);
    const auto samples = recording().samples();
    const auto starts = findCue(samples, resourceOf(ui::SoundCue::Click), from);
    EXPECT_EQ(starts.size(), 30u) << "30 presses of SoundButton, " << sounds.size() << " sounds heard";
    EXPECT_EQ(sounds.size(), 30u) << "the clicks are not each heard apart";
    // The last replay as whole as the first.
    const double whole = cueSeconds(resourceOf(ui::SoundCue::Click), 40ms);
    for (std::size_t i = 0; i < sounds.size(); ++i)
        EXPECT_NEAR(sounds[i].seconds(), whole, whole * 0.1) << "click " << i + 1 << " of 30";
    // Reaction: from the moment the click was asked of xdotool to the first
    // sample of the cue on the sink's monitor, plus the time the sink takes
    // to play what it rendered.
    const double sinkLatency = sound_->sinkLatencyMs();
    ASSERT_GE(sinkLatency, 0.0) << "the sink's latency cannot be read";
    if (starts.size() == clicks.size()) {
        std::vector<double> delays;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            delays.push_back(std::chrono::duration<double, std::milli>(recording().timeOf(starts[i]) - clicks[i]).count());
        }
        std::sort(delays.begin(), delays.end());
        const double median = delays[delays.size() / 2] + sinkLatency;
        std::printf("click to cue: median %.1f ms (%.1f ms to the sink's monitor, from xdotool's start, "
                    "fastest %.1f, slowest %.1f; %.1f ms of sink latency)\n",
                    median, delays[delays.size() / 2], delays.front(), delays.back(), sinkLatency);
        RecordProperty("click_to_cue_median_ms", static_cast<int>(median));
        EXPECT_LE(median, 60.0) << "the click cue starts too late after the click";
    }
}

bool mapsSoundLibrary(pid_t pid) {
    return readFile("/proc/" + std::to_string(pid) + "/maps").find("libpulse") != std::string::npos;
}

TEST_F(Sound, TheSoundLibrariesWaitForThePlayersFirstPressWhoseCueIsStillHeard) {
    start(kKiwiLibrary);
    // A game left waiting never loads them: a second of the player doing
    // nothing is the thing tested, not a wait for the program.
    sleepFor(1s);
    EXPECT_FALSE(mapsSoundLibrary(program_.pid())) << "loaded before any press";
    const ScreenRect button = controlOnScreen(ui::id::SoundButton);
    const std::size_t from = mark();
    const auto clickedAt = Clock::now();
    xdo_->click(button.centreX(), button.centreY());
    const auto sounds = heardSince(from, 1);
    ASSERT_EQ(sounds.size(), 1u) << "the first press's cue was not heard";
    const double delay = std::chrono::duration<double, std::milli>(recording().timeOf(sounds[0].start) - clickedAt).count();
    EXPECT_LT(delay, 250) << "the first cue came " << delay << " ms after the click";
    EXPECT_TRUE(mapsSoundLibrary(program_.pid()));
}

TEST_F(Sound, ThirtyLetterHitsInARowAreEachHeard) {
    start(kPangramLibrary);
    const std::string letters = "THEQUICKBROWNFX";   // 15 of its 19 letters: no win
    const std::size_t from = mark();
    for (int game = 0; game < 2; ++game) {
        clickControl(ui::id::NewGameButton);
        heardSince(mark(), 1);
        for (char letter : letters) clickTile(letter);
    }
    // The last hit starts after its click: once the sound that holds it has
    // ended, every hit is in the recording.
    const std::size_t lastClick = recording().indexAt(Clock::now());
    ASSERT_FALSE(waitForSoundEndingAfter(recording(), from, lastClick, 150ms, 5s).empty())
        << "no sound after the last tile";
    const auto samples = recording().samples();
    const auto hits = findCue(samples, resourceOf(ui::SoundCue::Hit), from);
    EXPECT_EQ(hits.size(), 30u) << "30 letter hits";
    const auto newGames = findCue(samples, resourceOf(ui::SoundCue::NewGame), from);
    EXPECT_EQ(newGames.size(), 2u) << "two New Game presses";
}

TEST_F(Sound, ANewCueCutsOffTheOnePlaying) {
    start(kKiwiLibrary);
    clickControl(ui::id::NewGameButton);
    heardSince(mark(), 1);
    for (char letter : std::string("KIWTE")) clickTile(letter);
    heardSince(mark(), 1);
    const std::size_t from = mark();
    clickTile('A');   // the win: WinCue, 4.75 s
    // A second of the win, then the click.
    ASSERT_TRUE(waitUntil([&] { return recording().sampleCount() > from + kRecordRate; }, 3s));
    ASSERT_FALSE(findCue(recording().samples(), resourceOf(ui::SoundCue::Win), from).empty())
        << "the win is not heard";
    const auto clickedAt = Clock::now();
    clickControl(ui::id::PlayerOneButton);   // a click, between games
    // The sound that goes on at the click ends with the click's cue, or, not
    // cut off, with the win's own end.
    const auto sounds = waitForSoundEndingAfter(recording(), from, recording().indexAt(clickedAt), 150ms, 8s);
    const auto samples = recording().samples();
    ASSERT_EQ(sounds.size(), 1u) << "the win and the click are not one sound, cut where the click starts";
    EXPECT_GT(cueMatch(samples, sounds[0].start, resourceOf(ui::SoundCue::Win)), 0.8);
    const auto clicks = findCue(samples, resourceOf(ui::SoundCue::Click), from);
    ASSERT_EQ(clicks.size(), 1u) << "the click is not heard";
    EXPECT_GE(recording().timeOf(clicks[0]), clickedAt);
    // After the click's 30 ms the sink is quiet: the win does not go on.
    const double tail = static_cast<double>(sounds[0].end - clicks[0]) / kRecordRate;
    EXPECT_LT(tail, 0.06) << "sound goes on " << tail << " s after the click began";
    EXPECT_LT(sounds[0].seconds(), 3.5) << "the win cue was not cut off";
}

TEST_F(Sound, EveryCueIsHeardWholeWithItsLength) {
    start(kKiwiLibrary, true);
    struct Heard {
        ui::SoundCue cue;
        e2e::Sound sound;
    };
    std::vector<Heard> heard;
    // Does what plays the cue, then takes the sound it made once it ended.
    auto listen = [&](ui::SoundCue cue, const std::function<void()>& action) {
        const std::size_t from = mark();
        action();
        const auto sounds = heardSince(from, 1, 150ms, 8s);
        if (sounds.empty()) {
            ADD_FAILURE() << ui::cueSpec(cue).name << " is not heard";
            return;
        }
        heard.push_back({cue, sounds.back()});
    };
    listen(ui::SoundCue::Click, [&] { clickControl(ui::id::PlayerOneButton); });
    listen(ui::SoundCue::Panel, [&] { clickControl(ui::id::AddPuzzlesButton); });
    listen(ui::SoundCue::Panel, [&] { clickControl(ui::id::AddPuzzlesButton); });
    listen(ui::SoundCue::NewGame, [&] { clickControl(ui::id::NewGameButton); });
    listen(ui::SoundCue::Hit, [&] { clickTile('K'); });
    listen(ui::SoundCue::Miss, [&] { clickTile('Z'); });
    for (char letter : std::string("IWT")) clickTile(letter);
    heardSince(mark(), 1);
    listen(ui::SoundCue::Hit, [&] { clickTile('E'); });
    listen(ui::SoundCue::Win, [&] { clickTile('A'); });
    listen(ui::SoundCue::NewGame, [&] { clickControl(ui::id::NewGameButton); });
    for (char letter : std::string("QXJVBY")) clickTile(letter);
    heardSince(mark(), 1);
    listen(ui::SoundCue::Loss, [&] { clickTile('D'); });
    clickControl(ui::id::FigureButton);
    listen(ui::SoundCue::NewGame, [&] { clickControl(ui::id::NewGameButton); });
    for (char letter : std::string("QXJVBY")) clickTile(letter);
    heardSince(mark(), 1);
    listen(ui::SoundCue::AltLoss, [&] { clickTile('D'); });
    listen(ui::SoundCue::Minimize, [&] { clickControl(ui::id::MinimizeButton); });

    const auto samples = recording().samples();
    std::set<int> cuesHeard;
    for (const Heard& h : heard) {
        const auto& row = ui::cueSpec(h.cue);
        SCOPED_TRACE(row.name);
        EXPECT_GT(cueMatch(samples, h.sound.start, row.resource), 0.8) << "another sound than the cue";
        const double expected = cueSeconds(row.resource, 150ms);
        EXPECT_NEAR(h.sound.seconds(), expected, expected * 0.1)
            << "stored wave " << row.seconds << " s, audible in it " << expected << " s";
        cuesHeard.insert(row.resource);
    }
    EXPECT_EQ(cuesHeard.size(), 9u) << "not all nine cues heard";
}

// Without any sound server each cue falls back to the default beep.
TEST_F(Sound, WithoutASoundServerACueRingsTheBell) {
    writeLibrary(kKiwiLibrary);
    launch({{"PULSE_SERVER", "unix:" + (dir() / "no-server").string()}});
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const int bells = x_.bells();
    const std::size_t from = mark();
    clickControl(ui::id::NewGameButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 3s)) << "New Game is silent without a sound server";
    clickControl(ui::id::PlayerOneButton);
    clickControl(ui::id::PlayerOneButton);
    EXPECT_TRUE(x_.waitForBells(bells + 3, 3s)) << "a repeated click is silent without a sound server";
    // Nothing of the program's reaches the sound server: a cue played into it
    // afterwards is the first sound there.
    ASSERT_TRUE(playCue(sound_->address(), resourceOf(ui::SoundCue::Click))) << "paplay cannot play a cue";
    const auto sounds = heardSince(from, 1, 40ms, 3s);
    ASSERT_FALSE(sounds.empty()) << "the cue paplay played is not heard";
    EXPECT_GT(cueMatch(recording().samples(), sounds.front().start, resourceOf(ui::SoundCue::Click)), 0.8)
        << "another sound came before the cue paplay played";
}

}  // namespace
}  // namespace e2e
