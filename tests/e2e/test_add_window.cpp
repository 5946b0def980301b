// The add-puzzle window: locked by default, and when unlocked a typed record
// is appended, records are stepped through and one deleted, and the stored
// library comes back in the next run.
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kRecords[] = {"first;opening record:", "kiwi tea;a drink:", "owl;a bird:",
                                "red fox;an animal:",    "sea salt;a seasoning:",
                                "last;closing record:"};

std::string join(std::initializer_list<int> indexes) {
    std::string out;
    for (int i : indexes) out += kRecords[i];
    return out;
}

constexpr QRgb kLightGrey = 0xFFC0C0C0;

class AddWindow : public ProgramTest {
protected:
    double greyShare(const QImage& shot, int id) {
        const ScreenRect r = controlOnScreen(id);
        return colourFraction(shot, r.left, r.top, r.width, r.height, kLightGrey, 6);
    }
    bool fieldEmpty(const QImage& shot, int id) { return greyShare(shot, id) > 0.985; }
    bool waitForFieldText(int id) {
        return waitUntil([&] { return !fieldEmpty(x_.screenshot(), id); }, 3s);
    }
    bool waitForFieldsEmpty() {
        return waitUntil([&] {
            const QImage s = x_.screenshot();
            return fieldEmpty(s, ui::id::PhraseEdit) && fieldEmpty(s, ui::id::HintEdit);
        }, 3s);
    }
    QImage region(const QImage& shot, int id) {
        const ScreenRect r = controlOnScreen(id);
        return shot.copy(r.left, r.top, r.width, r.height);
    }
    // Opens the add-puzzle window; returns its id or empty.
    std::string openAddWindow() {
        clickControl(ui::id::AddPuzzlesButton);
        return waitForWindow("Add_Puzzle");
    }
    // Starts the program unlocked on the six known records, with the add
    // window open; call through ASSERT_NO_FATAL_FAILURE.
    void startWithAddWindowOpen() {
        writeLibrary(join({0, 1, 2, 3, 4, 5}));
        writeConfig(kUnlockedConfig);
        launch();
        ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
        ASSERT_FALSE(openAddWindow().empty()) << "AddPuzzlesButton does not show the add window";
    }
    // Steps the viewer once: waits until the fields change from what they
    // showed, then for the screen to settle.
    QImage view() {
        const QImage before = settledScreenshot();
        clickControl(ui::id::ViewButton);
        const ScreenRect phrase = controlOnScreen(ui::id::PhraseEdit);
        const ScreenRect hint = controlOnScreen(ui::id::HintEdit);
        const bool changed = waitUntil([&] {
            const QImage now = x_.screenshot();
            return differingPixels(before, now, phrase.left, phrase.top, phrase.width, phrase.height) > 20 ||
                   differingPixels(before, now, hint.left, hint.top, hint.width, hint.height) > 20;
        }, 3s);
        EXPECT_TRUE(changed) << "ViewButton changes neither field";
        return settledScreenshot();
    }
    // Types into a field and waits until the text shows there.
    void typeAndSee(int id, const std::string& text) {
        const ScreenRect r = controlOnScreen(id);
        const QImage before = settledScreenshot();
        ASSERT_TRUE(typeInto(id, text)) << ui::findControl(id)->name << " does not get the focus";
        ASSERT_TRUE(waitUntil([&] {
            // More than a caret's pixels.
            return differingPixels(before, x_.screenshot(), r.left, r.top, r.width, r.height) > 30;
        }, 3s)) << "typing does not reach " << ui::findControl(id)->name;
    }
};

TEST_F(AddWindow, StaysHiddenWithTheDefaultLockedConfiguration) {
    writeLibrary(join({0, 1, 2, 3, 4, 5}));
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    ASSERT_TRUE(waitUntil([&] { return readFile(file("KXC_CONFIG.INI")) == kDefaultConfig; }, 5s));
    const int bells = x_.bells();
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s)) << "a locked AddPuzzlesButton does not beep";
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    EXPECT_FALSE(windowVisible("Add_Puzzle")) << "the add window opened although locked";
    EXPECT_TRUE(program_.running());
    // Unlocked, the next run's same press shows it.
    ASSERT_TRUE(exitThroughButton());
    writeConfig(kUnlockedConfig);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    EXPECT_FALSE(openAddWindow().empty()) << "the unlocked AddPuzzlesButton does not show the add window";
}

TEST_F(AddWindow, AddViewDeleteAndTheLibraryComesBack) {
    writeLibrary(join({0, 1, 2, 3, 4, 5}));
    writeConfig(kUnlockedConfig);
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();

    const std::string add = openAddWindow();
    ASSERT_FALSE(add.empty()) << "AddPuzzlesButton does not show the add window";
    auto g = xdo_->geometry(add);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, kAddLeft);
    EXPECT_EQ(g->y, kAddTop);
    EXPECT_EQ(g->width, 698);
    EXPECT_EQ(g->height, 400);
    {
        const QImage shot = settledScreenshot();
        EXPECT_TRUE(fieldEmpty(shot, ui::id::PhraseEdit)) << "PhraseEdit is not an empty grey field";
        EXPECT_TRUE(fieldEmpty(shot, ui::id::HintEdit)) << "HintEdit is not an empty grey field";
        for (int id : {ui::id::ViewButton, ui::id::DeleteButton}) {
            const ScreenRect r = controlOnScreen(id);
            EXPECT_TRUE(showsPicture(shot, ui::findControl(id)->normalFace, r.left, r.top))
                << ui::findControl(id)->name << " does not show its face";
        }
        // AddButton is one pixel narrower than its faces, which are scaled.
        const ScreenRect add = controlOnScreen(ui::id::AddButton);
        EXPECT_GE(matchFraction(shot, add.left, add.top, sourceBitmap(5400).scaled(114, 29), 40, 1), 0.9)
            << "AddButton does not show its face scaled to 114 pixels";
    }

    // Type a record and add it.
    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, "hello world")) << "PhraseEdit does not get the focus";
    ASSERT_TRUE(typeInto(ui::id::HintEdit, "A Greeting")) << "HintEdit does not get the focus";
    ASSERT_TRUE(waitForFieldText(ui::id::PhraseEdit)) << "typing does not reach PhraseEdit";
    ASSERT_TRUE(waitForFieldText(ui::id::HintEdit)) << "typing does not reach HintEdit";
    const QImage typed = settledScreenshot();
    clickControl(ui::id::AddButton);
    EXPECT_TRUE(waitForFieldsEmpty()) << "AddButton does not empty the two fields";
    EXPECT_EQ(readFile(file("KXData.dat")), join({0, 1, 2, 3, 4, 5}) + "hello world;A Greeting:")
        << printable(readFile(file("KXData.dat")));

    // View the first two records, delete the second.
    const QImage first = view();
    EXPECT_FALSE(fieldEmpty(first, ui::id::PhraseEdit)) << "View shows no phrase";
    EXPECT_FALSE(fieldEmpty(first, ui::id::HintEdit)) << "View shows no hint";
    const QImage second = view();
    EXPECT_GT(differingPixels(first, second, controlOnScreen(ui::id::PhraseEdit).left,
                              controlOnScreen(ui::id::PhraseEdit).top, 284, 24),
              20)
        << "the second View shows the same phrase";
    clickControl(ui::id::DeleteButton);
    EXPECT_TRUE(waitForFieldsEmpty()) << "DeleteButton does not empty the two fields";
    EXPECT_EQ(readFile(file("KXData.dat")), join({0, 2, 3, 4, 5}) + "hello world;A Greeting:")
        << printable(readFile(file("KXData.dat")));

    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_EQ(program_.exitCode(), 0);
    const std::string expected = join({0, 2, 3, 4, 5}) + "hello world;A Greeting:";
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), expected)
        << printable(unscramble(readFile(file("OnLoad.dat"))));
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(expected));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");

    // The next run: the added record is the sixth on view, shown as typed.
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    ASSERT_FALSE(openAddWindow().empty());
    QImage shot;
    for (int i = 0; i < 6; ++i) shot = view();
    const int phraseDiff = differingPixels(region(typed, ui::id::PhraseEdit),
                                           region(shot, ui::id::PhraseEdit), 0, 0, 284, 24);
    const int hintDiff = differingPixels(region(typed, ui::id::HintEdit),
                                         region(shot, ui::id::HintEdit), 0, 0, 252, 24);
    EXPECT_FALSE(fieldEmpty(shot, ui::id::PhraseEdit)) << "the sixth View shows no phrase";
    EXPECT_LE(phraseDiff, 30) << "the sixth record on view does not look like the typed phrase";
    EXPECT_LE(hintDiff, 30) << "the sixth record's hint does not look like the typed hint";

    // A seventh step reaches the end: the field shows the reset text, not the record.
    const QImage end = view();
    EXPECT_GT(differingPixels(region(shot, ui::id::PhraseEdit), region(end, ui::id::PhraseEdit), 0,
                              0, 284, 24),
              30)
        << "View at the end of the library still shows the last record";
    EXPECT_TRUE(fieldEmpty(end, ui::id::HintEdit)) << "the hint field is not emptied at the end";

    // A second AddPuzzlesButton press hides the window (its close button
    // lies above the top edge of a 1024x768 screen).
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 3s))
        << "a second AddPuzzlesButton press does not hide the add window";
}

TEST_F(AddWindow, CloseAddButtonHidesTheWindowOnceMovedIntoView) {
    writeLibrary(join({0, 1, 2, 3, 4, 5}));
    writeConfig(kUnlockedConfig);
    launch();
    const std::string main = waitForMainWindow();
    ASSERT_FALSE(main.empty()) << program_.describeEnd();
    // Down moves both windows while the add window is hidden: 36 presses, 72 pixels.
    ASSERT_TRUE(clickToFocus(main, mainX(600), mainY(300))) << "a click does not focus the main window";
    xdo_->key("Down", 36);
    ASSERT_TRUE(waitUntil([&] {
        auto g = xdo_->geometry(main);
        return g && g->y == kMainTop + 72;
    }, 5s)) << "Down does not move the main window";

    const int dy = 72;
    const ScreenRect open = controlOnScreen(ui::id::AddPuzzlesButton);
    xdo_->click(open.centreX(), open.centreY() + dy);
    const std::string add = waitForWindow("Add_Puzzle");
    ASSERT_FALSE(add.empty()) << "AddPuzzlesButton does not show the add window";
    auto g = xdo_->geometry(add);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, kAddLeft);
    EXPECT_EQ(g->y, kAddTop + dy) << "the hidden add window did not move with the main window";

    const ScreenRect close = controlOnScreen(ui::id::CloseAddButton);
    EXPECT_TRUE(showsPicture(settledScreenshot(), 4200, close.left, close.top + dy))
        << "CloseAddButton does not show its face";
    xdo_->click(close.centreX(), close.centreY() + dy);
    EXPECT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 3s))
        << "CloseAddButton does not hide the add window";
    xdo_->click(open.centreX(), open.centreY() + dy);
    EXPECT_FALSE(waitForWindow("Add_Puzzle").empty())
        << "AddPuzzlesButton after CloseAddButton does not show the window again";
}

TEST_F(AddWindow, TypingStopsAtTheFieldLimits) {
    ASSERT_NO_FATAL_FAILURE(startWithAddWindowOpen());
    // Narrow letters, so the text limit and not the field's width stops them.
    ASSERT_NO_FATAL_FAILURE(typeAndSee(ui::id::PhraseEdit, std::string(42, 'i')));
    ASSERT_NO_FATAL_FAILURE(typeAndSee(ui::id::HintEdit, std::string(40, 'l')));
    clickControl(ui::id::AddButton);
    ASSERT_TRUE(waitForFieldsEmpty()) << "AddButton does not empty the fields";
    EXPECT_EQ(readFile(file("KXData.dat")),
              join({0, 1, 2, 3, 4, 5}) + std::string(38, 'i') + ";" + std::string(34, 'l') + ":")
        << printable(readFile(file("KXData.dat")));
}

TEST_F(AddWindow, NewGameAbortsAViewingPass) {
    ASSERT_NO_FATAL_FAILURE(startWithAddWindowOpen());
    const QImage first = view();
    view();   // the second record, hint "a drink"
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(waitUntil([&] { return fieldEmpty(x_.screenshot(), ui::id::HintEdit); }, 3s))
        << "New Game does not end the viewing pass";
    const QImage aborted = settledScreenshot();
    EXPECT_FALSE(fieldEmpty(aborted, ui::id::PhraseEdit)) << "no abort text in PhraseEdit";
    EXPECT_GT(differingPixels(region(first, ui::id::PhraseEdit), region(aborted, ui::id::PhraseEdit),
                              0, 0, 284, 24),
              30);
    // The next View starts again at the first record.
    const QImage again = view();
    EXPECT_LE(differingPixels(region(first, ui::id::PhraseEdit), region(again, ui::id::PhraseEdit),
                              0, 0, 284, 24),
              30)
        << "View after New Game does not show the first record";
    EXPECT_LE(differingPixels(region(first, ui::id::HintEdit), region(again, ui::id::HintEdit), 0, 0,
                              252, 24),
              30);
}

TEST_F(AddWindow, AnAccentedLetterIsStoredAsOneByte) {
    ASSERT_NO_FATAL_FAILURE(startWithAddWindowOpen());
    // Typed as the keysyms of "Café Noir" and "été" (xdotool types remapped
    // capitals in lower case).
    ASSERT_NO_FATAL_FAILURE(typeAndSee(ui::id::PhraseEdit, "Caf\u00e9 Noir"));
    ASSERT_NO_FATAL_FAILURE(typeAndSee(ui::id::HintEdit, "\u00e9t\u00e9"));
    clickControl(ui::id::AddButton);
    ASSERT_TRUE(waitForFieldsEmpty()) << "AddButton does not empty the fields";
    // The phrase lower-cased in ASCII only; the hint as typed; Latin-1 bytes.
    EXPECT_EQ(readFile(file("KXData.dat")), join({0, 1, 2, 3, 4, 5}) + "caf\xE9 noir;\xE9t\xE9:")
        << printable(readFile(file("KXData.dat")));
}

TEST_F(AddWindow, APhraseWithASemicolonIsRefused) {
    ASSERT_NO_FATAL_FAILURE(startWithAddWindowOpen());
    ASSERT_NO_FATAL_FAILURE(typeAndSee(ui::id::PhraseEdit, "salt;pepper"));
    const int bells = x_.bells();
    clickControl(ui::id::AddButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 2s)) << "a phrase with \";\" is taken without a beep";
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys";
    EXPECT_FALSE(fieldEmpty(x_.screenshot(), ui::id::PhraseEdit)) << "the refused phrase was cleared";
    EXPECT_EQ(readFile(file("KXData.dat")), join({0, 1, 2, 3, 4, 5}))
        << printable(readFile(file("KXData.dat")));
    // The same press takes the phrase once the semicolon is gone.
    ASSERT_TRUE(clickField(ui::id::PhraseEdit));
    xdo_->key("End");
    xdo_->key("BackSpace", 7);
    xdo_->type(" pepper");
    clickControl(ui::id::AddButton);
    EXPECT_TRUE(waitForFieldsEmpty()) << "AddButton does not take the mended phrase";
    EXPECT_TRUE(waitUntil([&] {
        return readFile(file("KXData.dat")) == join({0, 1, 2, 3, 4, 5}) + "salt pepper;no hint available:";
    }, 3s)) << printable(readFile(file("KXData.dat")));
}

}  // namespace
}  // namespace e2e
