// The longest phrase the add window takes, 38 letters, shows whole: its 76
// characters (a space before each letter) fit the phrase display, as blanks
// and as letters.
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kPhrase = "twenty thousand leagues under the seas";   // 38 characters

// Dark pixels in a box of the screen.
int darkPixels(const QImage& shot, int left, int top, int width, int height) {
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) n += qGray(shot.pixel(x, y)) < 70 ? 1 : 0;
    }
    return n;
}

class PhraseFont : public ProgramTest {};

TEST_F(PhraseFont, AThirtyEightLetterPhraseShowsWhole) {
    ASSERT_EQ(kPhrase.size(), 38u);
    writeLibrary("first;opening record:" + kPhrase + ";a novel:" + kPhrase + ";a novel:" + kPhrase +
                 ";a novel:last;closing record:");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const ScreenRect phrase = controlOnScreen(ui::id::PhraseDisplay);
    const int cell = 11;   // a 22-pixel cell of Courier New is 11 pixels wide
    // The character at index k stands at phrase.left + cell * k; each letter
    // follows a space, so the last letter's index is 75, the last of 76.
    const int lastLetter = phrase.left + cell * 75;

    const QImage empty = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    // Blanks: underscores low in the line, the last one too.
    ASSERT_TRUE(waitUntil([&] { return darkPixels(x_.screenshot(), lastLetter, phrase.top + 14, cell, 8) > 4; }, 5s))
        << "the last letter's blank does not show";
    QImage blanks = settledScreenshot();
    EXPECT_EQ(darkPixels(blanks, phrase.left + 846, phrase.top, 40, phrase.height),
              darkPixels(empty, phrase.left + 846, phrase.top, 40, phrase.height))
        << "the phrase runs past the display";

    // Uncovered letter by letter, the last one (S) last: all 38 letters show.
    for (char letter : std::string("TWENYHOUADLGR")) clickTile(letter);
    clickTile('S');
    ASSERT_TRUE(waitUntil([&] { return darkPixels(x_.screenshot(), lastLetter, phrase.top + 2, cell, 12) > 12; }, 5s))
        << "the phrase's last letter does not show";
    const QImage letters = settledScreenshot();
    int shown = 0;
    for (std::size_t k = 0; k < kPhrase.size(); ++k) {
        if (kPhrase[k] == ' ') continue;
        shown += darkPixels(letters, phrase.left + cell * (2 * static_cast<int>(k) + 1), phrase.top + 2, cell, 12) > 12;
    }
    EXPECT_EQ(shown, 33) << "of the phrase's 33 letters only " << shown << " show";
    EXPECT_EQ(darkPixels(letters, phrase.left + 846, phrase.top, 40, phrase.height),
              darkPixels(empty, phrase.left + 846, phrase.top, 40, phrase.height))
        << "the phrase runs past the display";
}

}  // namespace
}  // namespace e2e
