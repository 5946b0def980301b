// The main window as a player sees it at start: background, tiles, button
// faces and empty grey fields, compared pixel by pixel with the artwork.
#include <QDir>

#include "tests/e2e/Harness.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary = kSixRecords;

constexpr QRgb kLightGrey = 0xFFC0C0C0;

bool isDark(QRgb p) { return qGray(p) < 110; }

int darkPixels(const QImage& shot, const ScreenRect& r) {
    int n = 0;
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x)
            if (isDark(shot.pixel(x, y))) ++n;
    return n;
}

// Controls drawn over the main window at start.
std::vector<const ui::ControlSpec*> visibleMainControls() {
    std::vector<const ui::ControlSpec*> out;
    for (const auto& c : ui::controlTable)
        if (c.parent == platform::Window::Main && c.visibleAtStart) out.push_back(&c);
    return out;
}

class Look : public ProgramTest {
protected:
    QImage startScreen() {
        writeLibrary(kLibrary);
        launch();
        if (waitForMainWindow().empty()) return {};
        return settledScreenshot();
    }
    // Waits for the button's face (pressed or normal) on screen.
    bool waitForFace(int buttonId, bool pressed) {
        const ui::ControlSpec* row = ui::findControl(buttonId);
        const ScreenRect r = controlOnScreen(buttonId);
        return waitForPicture(pressed ? row->pressedFace : row->normalFace, r.left, r.top, 3s);
    }
};

TEST_F(Look, MainWindowShowsItsArtworkWhereTheTablesPutIt) {
    const QImage shot = startScreen();
    ASSERT_FALSE(shot.isNull()) << "no main window; " << program_.describeEnd();
    const QImage background = sourceBitmap(48);
    ASSERT_FALSE(background.isNull()) << "resources/bitmaps/48.bmp is missing";

    // Kept for the documentation.
    shot.copy(kMainLeft, kMainTop, 900, 620)
        .save(QString::fromUtf8(TARVIK_E2E_OUTPUT_DIR) + "/main-window.png");

    // Background: every 7th pixel outside the visible controls.
    const auto controls = visibleMainControls();
    int total = 0, good = 0;
    for (int y = 1; y < 620; y += 7) {
        for (int x = 1; x < 900; x += 7) {
            bool covered = false;
            for (const auto* c : controls) {
                const ScreenRect r = controlOnScreen(c->id);
                const int cx = r.left - kMainLeft, cy = r.top - kMainTop;
                if (x >= cx && x < cx + r.width && y >= cy && y < cy + r.height) covered = true;
            }
            if (covered) continue;
            ++total;
            const QRgb s = shot.pixel(mainX(x), mainY(y)), b = background.pixel(x, y);
            if (std::abs(qRed(s) - qRed(b)) <= 12 && std::abs(qGreen(s) - qGreen(b)) <= 12 &&
                std::abs(qBlue(s) - qBlue(b)) <= 12)
                ++good;
        }
    }
    EXPECT_GT(total, 5000);
    EXPECT_GE(static_cast<double>(good) / total, 0.98)
        << good << " of " << total << " background samples match bitmap 48";

    for (const auto* c : controls) {
        const ScreenRect r = controlOnScreen(c->id);
        switch (c->kind) {
            case ui::ControlKind::OwnerDrawButton:
                EXPECT_GE(matchFraction(shot, r.left, r.top, sourceBitmap(c->normalFace), 12, 1), 0.97)
                    << c->name << " does not show its normal face " << c->normalFace;
                break;
            case ui::ControlKind::Picture:
                EXPECT_GE(matchFraction(shot, r.left, r.top, sourceBitmap(c->bitmap), 12, 1), 0.97)
                    << c->name << " does not show bitmap " << c->bitmap;
                break;
            default:
                break;
        }
    }

    // Empty text fields are plain light grey.
    for (int id : {ui::id::HintDisplay, ui::id::PhraseDisplay, ui::id::MissedLetters,
                   ui::id::GuessEdit}) {
        const ScreenRect r = controlOnScreen(id);
        EXPECT_GE(colourFraction(shot, r.left, r.top, r.width, r.height, kLightGrey, 6), 0.98)
            << ui::findControl(id)->name << " is not an empty light-grey field";
    }
    // Statistics read "0" and the limit "7": dark text on grey.
    for (int id : {ui::id::PlayerOneTotalDisplay, ui::id::PlayerOneWinsDisplay,
                   ui::id::PlayerOneLossesDisplay, ui::id::PlayerTwoTotalDisplay,
                   ui::id::PlayerTwoWinsDisplay, ui::id::PlayerTwoLossesDisplay,
                   ui::id::GuessLimitDisplay}) {
        const ScreenRect r = controlOnScreen(id);
        const char* name = ui::findControl(id)->name;
        EXPECT_GE(colourFraction(shot, r.left, r.top, r.width, r.height, kLightGrey, 6), 0.6)
            << name << " has no light-grey background";
        EXPECT_GE(darkPixels(shot, r), 8) << name << " shows no text";
        EXPECT_LE(darkPixels(shot, r), 120) << name << " shows more than one digit";
    }
}

TEST_F(Look, HeldButtonsShowTheirPressedFace) {
    ASSERT_FALSE(startScreen().isNull()) << "no main window; " << program_.describeEnd();
    // Buttons whose press does nothing before the first game.
    for (int id : {ui::id::RevealButton, ui::id::DifficultyButton, ui::id::ResetStatsButton,
                   ui::id::PlayerOneButton}) {
        const char* name = ui::findControl(id)->name;
        const ScreenRect r = controlOnScreen(id);
        xdo_->mouseDown(r.centreX(), r.centreY());
        EXPECT_TRUE(waitForFace(id, true)) << name << " does not show its pressed face while held";
        xdo_->mouseUp();
        EXPECT_TRUE(waitForFace(id, false)) << name << " does not return to its normal face";
    }
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

}  // namespace
}  // namespace e2e
