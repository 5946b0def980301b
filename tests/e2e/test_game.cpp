// Whole games played with the mouse and the keyboard: a win by tiles, a loss
// in the alternate figure mode with its flight, a win by a typed phrase for
// player two, and the statistics they leave in the file and on screen.
#include <array>
#include <cstdlib>

#include "tests/e2e/Harness.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Every drawable record (all but the first and the last) is the same phrase.
const std::string kPhrase = "kiwi tea";   // 8 characters, letters K I W T E A
const std::string kLibrary = "first;opening record:" + kPhrase + ";a drink:" + kPhrase +
                             ";a drink:" + kPhrase + ";a drink:" + kPhrase +
                             ";a drink:last;closing record:";

struct Picture {
    int control;
    int bitmap;
};
const std::array<Picture, 7> kFlight = {{{ui::id::FlightFrame1, 7300},
                                         {ui::id::FlightFrame2, 7500},
                                         {ui::id::FlightFrame3, 7700},
                                         {ui::id::FlightFrame4, 7900},
                                         {ui::id::FlightFrame5, 8100},
                                         {ui::id::FlightFrame6, 8300},
                                         {ui::id::FlightFrame7, 8500}}};

class Game : public ProgramTest {
protected:
    bool shows(const QImage& shot, int control, int bitmap, double threshold = 0.97) {
        const ScreenRect r = controlOnScreen(control);
        return showsPicture(shot, bitmap, r.left, r.top, threshold);
    }
    bool waitForControlPicture(int control, int bitmap, std::chrono::milliseconds timeout = 3s) {
        const ScreenRect r = controlOnScreen(control);
        return waitForPicture(bitmap, r.left, r.top, timeout);
    }
    int changedPixels(const QImage& before, const QImage& after, int control) {
        const ScreenRect r = controlOnScreen(control);
        return differingPixels(before, after, r.left, r.top, r.width, r.height);
    }
    // Screenshots for 3.5 s after a loss; when each flight frame was first
    // seen, in seconds after the loss (-1: never).
    std::array<double, 7> watchFlight(Clock::time_point lost) {
        std::array<double, 7> firstSeen{};
        firstSeen.fill(-1);
        while (Clock::now() - lost < 3500ms) {
            const QImage shot = x_.screenshot();
            const double t = std::chrono::duration<double>(Clock::now() - lost).count();
            for (std::size_t k = 0; k < kFlight.size(); ++k) {
                if (firstSeen[k] < 0 && shows(shot, kFlight[k].control, kFlight[k].bitmap, 0.95)) firstSeen[k] = t;
            }
        }
        return firstSeen;
    }
    void expectFlightTiming(const std::array<double, 7>& firstSeen) {
        double previous = -1;
        for (std::size_t k = 0; k < firstSeen.size(); ++k) {
            if (firstSeen[k] < 0) continue;
            EXPECT_GT(firstSeen[k], previous) << "flight frame " << k + 1 << " out of order";
            previous = firstSeen[k];
        }
        if (firstSeen[0] >= 0) {
            EXPECT_GE(firstSeen[0], 0.7) << "the flight starts without the pause";
            EXPECT_LE(firstSeen[0], 1.8) << "the flight starts late";
        }
        if (firstSeen[0] >= 0 && firstSeen[6] >= 0) {
            EXPECT_GE(firstSeen[6] - firstSeen[0], 0.4) << "frames come too fast";
            EXPECT_LE(firstSeen[6] - firstSeen[0], 1.2) << "frames come too slowly";
        }
    }
    // Presses New Game and waits until the phrase line shows the blanks.
    bool startGame(const QImage& idle) {
        clickControl(ui::id::NewGameButton);
        return waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::PhraseDisplay) > 40; },
                         3s);
    }
};

TEST_F(Game, WinByTilesLoseInFigureModeWinByPhraseAndKeepTheTotals) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();

    // Game 1, player one: one miss, then every letter of the phrase.
    ASSERT_TRUE(startGame(idle)) << "New Game shows no phrase";
    const QImage drawn = settledScreenshot();
    EXPECT_GT(changedPixels(idle, drawn, ui::id::HintDisplay), 20) << "no hint shown";
    clickTile('Z');
    EXPECT_TRUE(waitForControlPicture(ui::id::GallowsStage1, 2250))
        << "a miss does not show the first gallows picture";
    for (char letter : std::string("KIWTE")) clickTile(letter);
    ASSERT_TRUE(waitForTileGone('E')) << "the last letter clicked is not taken";
    {
        const QImage shot = settledScreenshot();
        EXPECT_FALSE(shows(shot, ui::id::LetterTile('K' - 'A'), ui::letterTileBitmap('K' - 'A'), 0.9))
            << "a guessed tile is still shown";
        EXPECT_FALSE(shows(shot, ui::id::WinPictureLeft, 3750, 0.9)) << "won before the last letter";
    }
    clickTile('A');
    ASSERT_TRUE(waitForControlPicture(ui::id::WinPictureLeft, 3750))
        << "uncovering the whole phrase does not show the win picture";
    const QImage afterWin = settledScreenshot();
    EXPECT_GT(changedPixels(idle, afterWin, ui::id::WinPictureRight), 200) << "no right win picture";
    EXPECT_GT(changedPixels(idle, afterWin, ui::id::PlayerOneWinsDisplay), 0)
        << "player one's wins display did not change";

    // The alternate figure mode, switched between games.
    clickControl(ui::id::FigureButton);
    EXPECT_TRUE(waitForControlPicture(ui::id::FigureModeIndicator, 6400))
        << "FigureButton does not show the figure mode indicator";

    // Game 2, player one: seven misses.
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(waitUntil([&] { return !shows(x_.screenshot(), ui::id::WinPictureLeft, 3750, 0.9); }, 3s))
        << "New Game does not hide the win picture";
    {
        const QImage shot = settledScreenshot();
        EXPECT_TRUE(shows(shot, ui::id::LetterTile('K' - 'A'), ui::letterTileBitmap('K' - 'A')))
            << "New Game does not bring the guessed tiles back";
        for (const auto& f : kFlight) {
            ASSERT_FALSE(shows(shot, f.control, f.bitmap, 0.95))
                << "flight frame " << f.bitmap << " cannot be told from what lies under it";
        }
    }
    clickTile('B');
    EXPECT_TRUE(waitForControlPicture(ui::id::AltGallowsStage1, 6900))
        << "in figure mode a miss does not show the alternate head";
    for (char letter : std::string("CDFGH")) clickTile(letter);
    EXPECT_TRUE(waitForControlPicture(ui::id::GallowsStage6, 2000)) << "six misses, no sixth stage";
    clickTile('J');
    const auto lost = Clock::now();

    // The flight: a pause of about a second, then seven frames 100 ms apart.
    const auto firstSeen = watchFlight(lost);
    EXPECT_GE(firstSeen[0], 0) << "the first flight frame never appeared";
    EXPECT_GE(firstSeen[6], 0) << "the last flight frame never appeared";
    expectFlightTiming(firstSeen);
    {
        const QImage shot = settledScreenshot();
        for (const auto& f : kFlight)
            EXPECT_FALSE(shows(shot, f.control, f.bitmap, 0.95)) << "frame " << f.bitmap << " stays";
        EXPECT_TRUE(shows(shot, ui::id::AltLossFigure, 6800, 0.95))
            << "the alternate loss figure is not shown after the flight";
        EXPECT_GT(changedPixels(afterWin, shot, ui::id::PlayerOneLossesDisplay), 0)
            << "player one's losses display did not change";
    }
    // The timer's last tick hides the last frame and ends the flight.
    ASSERT_TRUE(waitUntil([&] { return !shows(x_.screenshot(), kFlight[6].control, kFlight[6].bitmap, 0.95); }, 3s))
        << "the last flight frame stays";

    // Game 3, player two: the whole phrase typed into GuessEdit.
    clickControl(ui::id::PlayerTwoButton);
    const QImage beforeThird = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(waitUntil([&] { return !shows(x_.screenshot(), ui::id::AltLossFigure, 6800, 0.9); }, 3s))
        << "New Game after the flight does not start a game";
    ASSERT_TRUE(typeInto(ui::id::GuessEdit, "Kiwi Tea")) << "GuessEdit does not get the focus";
    EXPECT_TRUE(waitUntil([&] { return changedPixels(beforeThird, x_.screenshot(), ui::id::GuessEdit) > 30; }, 3s))
        << "the typed phrase does not appear in GuessEdit";
    clickControl(ui::id::GuessPhraseButton);
    ASSERT_TRUE(waitForControlPicture(ui::id::WinPictureLeft, 3750))
        << "the right phrase typed and guessed does not win";

    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    // Player one: (8 - 1) x 10, one win, one loss; player two: 8 x 10, one win.
    EXPECT_EQ(readFile(file("KXStats.dat")), "70 1 1 80 1 0")
        << printable(readFile(file("KXStats.dat")));

    // The next run shows the totals.
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage next = settledScreenshot();
    for (int id : {ui::id::PlayerOneTotalDisplay, ui::id::PlayerOneWinsDisplay,
                   ui::id::PlayerOneLossesDisplay, ui::id::PlayerTwoTotalDisplay,
                   ui::id::PlayerTwoWinsDisplay}) {
        EXPECT_GT(changedPixels(idle, next, id), 0) << ui::findControl(id)->name << " still reads 0";
    }
    EXPECT_EQ(changedPixels(idle, next, ui::id::PlayerTwoLossesDisplay), 0)
        << "player two's losses should still read 0";
    // Player one's total "70" and player two's "80" differ; their wins both read "1".
    const ScreenRect one = controlOnScreen(ui::id::PlayerOneWinsDisplay);
    const ScreenRect two = controlOnScreen(ui::id::PlayerTwoWinsDisplay);
    EXPECT_EQ(next.copy(one.left, one.top, one.width, one.height),
              next.copy(two.left, two.top, two.width, two.height))
        << "both wins displays should read 1";
}

TEST_F(Game, AWrongPhraseCountsAsAMissAndTheRevealShowsTheAnswerOnce) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "5 0 0 0 0 0");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();
    ASSERT_TRUE(startGame(idle)) << "New Game shows no phrase";

    // A wrong phrase: the first gallows picture and a mark in the missed letters.
    ASSERT_TRUE(typeInto(ui::id::GuessEdit, "kiwitea")) << "GuessEdit does not get the focus";
    const QImage beforeGuess = settledScreenshot();
    clickControl(ui::id::GuessPhraseButton);
    EXPECT_TRUE(waitForControlPicture(ui::id::GallowsStage1, 2250))
        << "a wrong phrase does not show the first gallows picture";
    EXPECT_GT(changedPixels(beforeGuess, settledScreenshot(), ui::id::MissedLetters), 10)
        << "a wrong phrase leaves no mark among the missed letters";

    for (char letter : std::string("BCDFGH")) clickTile(letter);
    ASSERT_TRUE(waitForControlPicture(ui::id::LossFigure, 6050)) << "seven misses, no loss figure";
    const QImage lostShot = settledScreenshot();
    clickControl(ui::id::RevealButton);
    ASSERT_TRUE(waitUntil([&] { return changedPixels(lostShot, x_.screenshot(), ui::id::PhraseDisplay) > 40; }, 3s))
        << "RevealButton does not show the answer";
    const QImage revealed = settledScreenshot();
    clickControl(ui::id::RevealButton);
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    EXPECT_EQ(changedPixels(revealed, settledScreenshot(), ui::id::PhraseDisplay), 0)
        << "a second reveal changes the phrase line";

    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("KXStats.dat")), "5 0 1 0 0 0") << printable(readFile(file("KXStats.dat")));
}

TEST_F(Game, BothWinPicturesShowWhole) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    ASSERT_TRUE(startGame(settledScreenshot()));
    ASSERT_TRUE(typeInto(ui::id::GuessEdit, "kiwi tea")) << "GuessEdit does not get the focus";
    clickControl(ui::id::GuessPhraseButton);
    EXPECT_TRUE(waitForControlPicture(ui::id::WinPictureLeft, 3750))
        << "WinPictureLeft does not show bitmap 3750 (84x67) at (129,93)";
    EXPECT_TRUE(waitForControlPicture(ui::id::WinPictureRight, 3850))
        << "WinPictureRight does not show the whole of bitmap 3850 (53x30) at (457,116)";
}

TEST_F(Game, EveryFlightFrameShowsInFrontOfTheLossFigure) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::FigureButton);   // allowed before the first game
    ASSERT_TRUE(waitForControlPicture(ui::id::FigureModeIndicator, 6400));
    ASSERT_TRUE(startGame(settledScreenshot()));
    for (char letter : std::string("BCDFGH")) clickTile(letter);
    ASSERT_TRUE(waitForControlPicture(ui::id::GallowsStage6, 2000)) << "six misses, no sixth stage";
    clickTile('J');
    const auto lost = Clock::now();
    const auto firstSeen = watchFlight(lost);
    for (std::size_t k = 0; k < kFlight.size(); ++k) {
        EXPECT_GE(firstSeen[k], 0) << "flight frame " << k + 1 << " (bitmap " << kFlight[k].bitmap
                                   << ") never appeared in front of the picture area";
    }
    expectFlightTiming(firstSeen);
}

TEST_F(Game, TheDifficultyHeadStartCountsInTheScore) {
    writeLibrary(kLibrary);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();

    // Before the first game the switch is refused.
    clickControl(ui::id::DifficultyButton);
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    EXPECT_EQ(changedPixels(idle, settledScreenshot(), ui::id::GuessLimitDisplay), 0)
        << "DifficultyButton changed the limit before the first game";

    ASSERT_TRUE(startGame(idle));
    ASSERT_TRUE(typeInto(ui::id::GuessEdit, "KIWI TEA")) << "GuessEdit does not get the focus";
    clickControl(ui::id::GuessPhraseButton);
    ASSERT_TRUE(waitForControlPicture(ui::id::WinPictureLeft, 3750)) << "the typed phrase does not win";

    clickControl(ui::id::DifficultyButton);
    ASSERT_TRUE(waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::GuessLimitDisplay) > 0; }, 3s))
        << "DifficultyButton between games does not change the limit shown";
    clickControl(ui::id::NewGameButton);
    EXPECT_TRUE(waitForControlPicture(ui::id::GallowsStage1, 2250)) << "no head start: stage 1 hidden";
    EXPECT_TRUE(waitForControlPicture(ui::id::GallowsStage2, 2200)) << "no head start: stage 2 hidden";
    // New Game empties GuessEdit; the phrase typed again wins with 2 on the gallows.
    EXPECT_TRUE(waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::GuessEdit) < 30; }, 3s))
        << "New Game does not empty GuessEdit";
    ASSERT_TRUE(typeInto(ui::id::GuessEdit, "kiwi tea")) << "GuessEdit does not get the focus";
    clickControl(ui::id::GuessPhraseButton);
    ASSERT_TRUE(waitForControlPicture(ui::id::WinPictureLeft, 3750)) << "the second game is not won";

    // Back to seven: the read-out is the start one again.
    clickControl(ui::id::DifficultyButton);
    EXPECT_TRUE(waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::GuessLimitDisplay) == 0; }, 3s))
        << "a second DifficultyButton press does not bring the limit back";

    ASSERT_TRUE(exitThroughButton());
    // 8 x 10, then (8 - 2) x 10.
    EXPECT_EQ(readFile(file("KXStats.dat")), "140 2 0 0 0 0") << printable(readFile(file("KXStats.dat")));
}

}  // namespace
}  // namespace e2e
