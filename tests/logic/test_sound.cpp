// The mute: which cues a muted game still plays.
#include <gtest/gtest.h>

#include <set>

#include "game/Mute.h"
#include "game_test_support.h"
#include "ui/SoundCues.h"

namespace {

using testing_support::GameTest;
namespace id = ui::id;

class SoundTest : public GameTest {
protected:
    // Every cue's event once: panel, minimise, click, new game, hit, miss,
    // win, loss and the alternate loss. Returns the waves that played.
    std::set<int> playEveryCue() {
        press(id::AddPuzzlesButton);   // PanelCue
        press(id::CloseAddButton);     // PanelCue
        press(id::MinimizeButton);     // MinimizeCue
        newGame();                     // NewGameCue
        clickLetters("AQ");            // HitCue, MissCue
        guess("BANANA");               // ClickCue, WinCue
        newGame();
        clickLetters("QWERTYU");       // seven misses: LossCue
        press(id::FigureButton);
        newGame();
        clickLetters("QWERTYU");       // AltLossCue
        const auto waves = desk.wavesPlayed();
        return {waves.begin(), waves.end()};
    }
};

TEST_F(SoundTest, WithSoundOnEveryCuePlays) {
    writeUnlockedConfig();
    startWith("banana");
    std::set<int> all;
    for (const auto& cue : ui::cueTable) all.insert(cue.resource);
    EXPECT_EQ(playEveryCue(), all);
}

TEST_F(SoundTest, MutedOnlyTheCuesThatIgnoreTheMutePlay) {
    writeUnlockedConfig();
    startWith("banana");
    press(id::SoundButton);
    ASSERT_TRUE(game::soundMuted());
    desk.clearCalls();
    const std::set<int> expected = {4450, 4500, 5600};   // click, minimise, panel
    EXPECT_EQ(playEveryCue(), expected);
    std::set<int> ignoring;
    for (const auto& cue : ui::cueTable) {
        if (!cue.obeysMute) ignoring.insert(cue.resource);
    }
    EXPECT_EQ(ignoring, expected);
}

TEST_F(SoundTest, TwoPressesReturnToSoundOnAndEachClicks) {
    startWith("banana");
    press(id::SoundButton);
    press(id::SoundButton);
    EXPECT_FALSE(game::soundMuted());
    EXPECT_EQ(desk.count(testing_support::clickWave), 2);
    newGame();
    EXPECT_EQ(desk.count(testing_support::newGameWave), 1);
}

}  // namespace
