// The statistics on screen and in their file: the reset button, and a run
// that ends without ExitButton.
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary = kSixRecords;

class Statistics : public ProgramTest {
protected:
    int changed(const QImage& a, const QImage& b, int id) {
        const ScreenRect r = controlOnScreen(id);
        return differingPixels(a, b, r.left, r.top, r.width, r.height);
    }
};

TEST_F(Statistics, ResetClearsOnlyTheCurrentPlayer) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "0 0 0 0 0 0");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage zeros = settledScreenshot();
    ASSERT_TRUE(exitThroughButton());

    writeFile(file("KXStats.dat"), "250 7 3 40 1 9");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage loaded = settledScreenshot();
    for (int id : {ui::id::PlayerOneTotalDisplay, ui::id::PlayerOneWinsDisplay,
                   ui::id::PlayerOneLossesDisplay, ui::id::PlayerTwoTotalDisplay,
                   ui::id::PlayerTwoWinsDisplay, ui::id::PlayerTwoLossesDisplay}) {
        EXPECT_GT(changed(zeros, loaded, id), 0) << ui::findControl(id)->name << " reads 0";
    }

    // Player two is chosen and reset; player one keeps 250 7 3.
    clickControl(ui::id::PlayerTwoButton);
    clickControl(ui::id::ResetStatsButton);
    ASSERT_TRUE(waitUntil([&] { return changed(zeros, x_.screenshot(), ui::id::PlayerTwoTotalDisplay) == 0; }, 3s))
        << "ResetStatsButton does not show 0 for player two's total";
    const QImage reset = settledScreenshot();
    for (int id : {ui::id::PlayerTwoWinsDisplay, ui::id::PlayerTwoLossesDisplay})
        EXPECT_EQ(changed(zeros, reset, id), 0) << ui::findControl(id)->name << " is not 0";
    for (int id : {ui::id::PlayerOneTotalDisplay, ui::id::PlayerOneWinsDisplay, ui::id::PlayerOneLossesDisplay})
        EXPECT_EQ(changed(loaded, reset, id), 0) << ui::findControl(id)->name << " changed";

    // A second reset of a zero total only beeps.
    const int bells = x_.bells();
    clickControl(ui::id::ResetStatsButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s)) << "a refused reset does not beep";

    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("KXStats.dat")), "250 7 3 0 0 0") << printable(readFile(file("KXStats.dat")));
}

TEST_F(Statistics, AMissingLibraryShowsTheErrorTextInThePhraseLine) {
    launch();   // no OnLoad.dat and no KXData.dat
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    EXPECT_TRUE(waitUntil([&] { return changed(idle, x_.screenshot(), ui::id::PhraseDisplay) > 300; }, 3s))
        << "no error text in the phrase line";
    EXPECT_TRUE(waitUntil([&] { return changed(idle, x_.screenshot(), ui::id::HintDisplay) > 20; }, 3s))
        << "no \"No data\" in the hint line";
    // No game is under way: a click on the board wins nothing.
    xdo_->click(mainX(600), mainY(300));
    clickTile('A');
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    const ScreenRect win = controlOnScreen(ui::id::WinPictureLeft);
    EXPECT_FALSE(showsPicture(x_.screenshot(), 3750, win.left, win.top, 0.9))
        << "a click after a failed draw wins a game";
    ASSERT_TRUE(exitThroughButton());
    EXPECT_FALSE(fs::exists(file("OnLoad.dat"))) << "a library was written from nothing";
    EXPECT_EQ(readFile(file("KXStats.dat")), "0 0 0 0 0 0") << "a game without a puzzle was booked";
}

}  // namespace
}  // namespace e2e
