// What a screen reader is told (names, states, notices) and keyboard play,
// through the real dispatch on the in-memory desktop.
#include <algorithm>
#include <set>

#include "app/CommandLine.h"
#include "app/KeyboardMode.h"
#include "game_test_support.h"
#include "library/LibraryState.h"
#include "ui/AccessibleNames.h"
#include "ui/Notices.h"

namespace {

using namespace testing_support;
using platform::AccessibleRole;
using platform::AccessibleState;
using platform::Window;
namespace id = ui::id;

class AccessibilityTest : public GameTest {
protected:
    std::string name(int controlId) { return desk.control(controlId).accessibleName; }
    std::string lastNotice() {
        return desk.announcements().empty() ? std::string() : desk.announcements().back();
    }
    bool checked(int controlId) { return desk.hasState(controlId, AccessibleState::Checked); }
};

TEST(AccessibleTable, NamesEveryControlOfTheControlTableInItsOrder) {
    std::set<std::string> mainNames;
    for (std::size_t k = 0; k < ui::controlTable.size(); ++k) {
        const ui::ControlSpec& c = ui::controlTable[k];
        const ui::AccessibleRow& a = ui::accessibleTable[k];
        ASSERT_EQ(a.id, c.id) << c.name;
        if (a.role == AccessibleRole::Hidden) continue;
        EXPECT_STRNE(a.name, "") << c.name;
        if (c.kind == ui::ControlKind::OwnerDrawButton || c.kind == ui::ControlKind::Edit) {
            EXPECT_STRNE(a.description, "") << c.name;
        }
        // Two controls of one window never share a name, except a label and its value.
        if (c.parent == Window::Main && c.kind != ui::ControlKind::TextNoPrefix) {
            EXPECT_TRUE(mainNames.insert(a.name).second) << a.name;
        }
    }
    for (int k = 0; k < 26; ++k) {
        const ui::AccessibleRow* tile = ui::findAccessible(id::LetterTile(k));
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->name, "Letter " + std::string(1, static_cast<char>('A' + k)));
        EXPECT_EQ(tile->role, AccessibleRole::Pressable);
    }
    EXPECT_EQ(ui::findAccessible(id::PhraseUnderlay)->role, AccessibleRole::Hidden);
    EXPECT_STREQ(ui::findAccessible(id::NewGameButton)->name, "New Game");
    EXPECT_STREQ(ui::findAccessible(id::RevealButton)->name, "Reveal");
}

TEST(AccessibleTable, FocusOrderHoldsEveryButtonAndEditOnceWindowByWindow) {
    std::vector<int> expected;
    for (Window w : {Window::Main, Window::AddPuzzle, Window::Message}) {
        std::vector<int> ofWindow;
        for (const auto& c : ui::controlTable) {
            if (c.parent == w && (c.kind == ui::ControlKind::OwnerDrawButton || c.kind == ui::ControlKind::Edit))
                ofWindow.push_back(c.id);
        }
        // The window's stops come together, in reading order: row by row, left to right.
        std::vector<int> stops;
        for (int controlId : ui::focusOrder) {
            if (ui::findControl(controlId)->parent == w) stops.push_back(controlId);
        }
        EXPECT_EQ(std::set<int>(stops.begin(), stops.end()), std::set<int>(ofWindow.begin(), ofWindow.end()));
        EXPECT_EQ(stops.size(), ofWindow.size());
        for (std::size_t k = 1; k < stops.size(); ++k) {
            const auto* a = ui::findControl(stops[k - 1]);
            const auto* b = ui::findControl(stops[k]);
            const bool sameRow = std::abs(a->top - b->top) <= 8;
            EXPECT_TRUE(sameRow ? a->left < b->left : a->top < b->top) << a->name << " before " << b->name;
        }
        expected.insert(expected.end(), stops.begin(), stops.end());
    }
    EXPECT_EQ(expected, std::vector<int>(ui::focusOrder.begin(), ui::focusOrder.end()));
}

TEST(SpokenText, ThePhraseIsSpelledWordByWordAndReadWholeWhenComplete) {
    EXPECT_EQ(ui::spelledPhrase(" T _ N   C _ N"), "Phrase, 2 words: T, blank, N; C, blank, N");
    EXPECT_EQ(ui::spelledPhrase(" _ _ _"), "Phrase, 1 word: blank, blank, blank");
    EXPECT_EQ(ui::spelledPhrase(" I T ' S _"), "Phrase, 1 word: I, T, apostrophe, S, blank");
    EXPECT_EQ(ui::spelledPhrase(" T I N   C A N"), "Phrase: TIN CAN");
    EXPECT_EQ(ui::spelledPhrase(""), "Phrase: none");
    EXPECT_EQ(ui::spelledPhrase("ERROR! NO PUZZLE"), "Phrase: ERROR! NO PUZZLE");
    EXPECT_EQ(ui::missedLettersName("Q Z # "), "Missed: Q, Z, wrong phrase");
    EXPECT_EQ(ui::missedLettersName(std::string(28, ' ')), "Missed: none");
    EXPECT_EQ(ui::accessibleNameFor(id::PlayerOneTotalDisplay, "190"), "Player 1 score 190");
    EXPECT_EQ(ui::accessibleNameFor(id::PlayerTwoWinsDisplay, "3"), "Player 2 won 3");
    EXPECT_EQ(ui::accessibleNameFor(id::HintDisplay, "Container"), "Hint: Container");
    EXPECT_EQ(ui::accessibleNameFor(id::GuessLimitDisplay, "7"), "Limit 7");
}

TEST_F(AccessibilityTest, StartUpNamesEveryControlAndDescribesTheWindows) {
    write("KXStats.dat", "190 0 3 0 2 0");
    start();
    for (const auto& row : ui::accessibleTable) {
        EXPECT_EQ(desk.control(row.id).role, row.role) << row.id;
        if (row.role != AccessibleRole::Hidden) {
            EXPECT_FALSE(name(row.id).empty()) << row.id;
        }
    }
    EXPECT_EQ(name(id::PlayerOneTotalDisplay), "Player 1 score " + one().totalText);
    EXPECT_EQ(name(id::PlayerOneWinsDisplay), "Player 1 won " + one().winsText);
    EXPECT_EQ(name(id::GuessLimitDisplay), "Limit 7");
    EXPECT_EQ(name(id::MissedLetters), "Missed: none");
    EXPECT_EQ(name(id::NewGameButton), "New Game");
    EXPECT_EQ(desk.control(id::NewGameButton).accessibleDescription, "Draws a new phrase");
    EXPECT_NE(desk.windowDescription(Window::Message).find("arrow keys"), std::string::npos);
    EXPECT_NE(desk.windowDescription(Window::AddPuzzle).find("press Add"), std::string::npos);
    EXPECT_TRUE(checked(id::PlayerOneButton));
    EXPECT_FALSE(checked(id::PlayerTwoButton));
    EXPECT_TRUE(checked(id::SoundButton));
}

TEST_F(AccessibilityTest, AGameWonIsToldStepByStepInNamesAndNotices) {
    startWith("tin can", "Container");
    newGame();
    EXPECT_EQ(name(id::PhraseDisplay), "Phrase, 2 words: blank, blank, blank; blank, blank, blank");
    EXPECT_EQ(name(id::HintDisplay), "Hint: Container");
    EXPECT_EQ(lastNotice(), "New game: 2 words, 6 characters. Hint: Container");
    clickLetter('N');
    EXPECT_EQ(lastNotice(), "N: 2 found");
    EXPECT_EQ(name(id::PhraseDisplay), "Phrase, 2 words: blank, blank, N; blank, blank, N");
    EXPECT_TRUE(desk.hasState(id::LetterTile('N' - 'A'), AccessibleState::Unavailable));
    clickLetter('Q');
    EXPECT_EQ(lastNotice(), "Q: not in the phrase, 1 of 7");
    EXPECT_EQ(name(id::MissedLetters), "Missed: Q");
    clickLetters("TIC");
    EXPECT_EQ(lastNotice(), "C: 1 found");
    clickLetter('A');
    // (7 characters - 1 wrong guess) x 10.
    EXPECT_EQ(lastNotice(), "Won! The phrase is TIN CAN. Player 1 scores 60 points, total " + one().totalText);
    EXPECT_EQ(name(id::PhraseDisplay), "Phrase: TIN CAN");
    EXPECT_EQ(name(id::PlayerOneTotalDisplay), "Player 1 score " + one().totalText);
    EXPECT_EQ(name(id::PlayerOneWinsDisplay), "Player 1 won 1");
    newGame();
    EXPECT_FALSE(desk.hasState(id::LetterTile('N' - 'A'), AccessibleState::Unavailable));
    EXPECT_EQ(name(id::MissedLetters), "Missed: none");
}

TEST_F(AccessibilityTest, ALossAndTheRevealAreTold) {
    startWith("tin can");
    newGame();
    guess("tin cap");
    EXPECT_EQ(lastNotice(), "Wrong phrase, 1 of 7");
    clickLetters("QWERYU");
    EXPECT_EQ(lastNotice(), "Lost: the figure is complete. A loss for Player 1. Press Reveal to see the phrase");
    EXPECT_EQ(name(id::PlayerOneLossesDisplay), "Player 1 lost 1");
    EXPECT_EQ(name(id::MissedLetters), "Missed: wrong phrase, Q, W, E, R, Y, U");
    press(id::RevealButton);
    EXPECT_EQ(lastNotice(), "The phrase was TIN CAN");
    EXPECT_EQ(name(id::PhraseDisplay), "Phrase: TIN CAN");
}

TEST_F(AccessibilityTest, EveryRefusalBeepsAndTellsWhy) {
    startWith("tin can");
    struct Case {
        int button;
        ui::Refusal reason;
    };
    // Between games, before any game, with editing locked (the default file).
    for (const Case& c : {Case{id::GuessPhraseButton, ui::Refusal::NoGameToGuess},
                          Case{id::RevealButton, ui::Refusal::NothingToReveal},
                          Case{id::ResetStatsButton, ui::Refusal::NothingToReset},
                          Case{id::AddPuzzlesButton, ui::Refusal::AddingLocked}}) {
        const int beeps = desk.beeps();
        press(c.button);
        EXPECT_EQ(desk.beeps(), beeps + 1) << c.button;
        EXPECT_EQ(lastNotice(), ui::refusalText(c.reason)) << c.button;
    }
    newGame();
    clickLetter('Q');
    for (const Case& c : {Case{id::FigureButton, ui::Refusal::FigureLocked},
                          Case{id::DifficultyButton, ui::Refusal::LevelLocked}}) {
        const int beeps = desk.beeps();
        press(c.button);
        EXPECT_EQ(desk.beeps(), beeps + 1) << c.button;
        EXPECT_EQ(lastNotice(), ui::refusalText(c.reason)) << c.button;
    }
}

TEST_F(AccessibilityTest, SwitchesAndPlayersShowAsCheckedStatesAndAreTold) {
    startWith("tin can");
    press(id::PlayerTwoButton);
    EXPECT_EQ(lastNotice(), "Player 2 plays");
    EXPECT_TRUE(checked(id::PlayerTwoButton));
    EXPECT_FALSE(checked(id::PlayerOneButton));
    press(id::SoundButton);
    EXPECT_EQ(lastNotice(), "Sound off");
    EXPECT_FALSE(checked(id::SoundButton));
    press(id::FigureButton);
    EXPECT_EQ(lastNotice(), "Figure mode on");
    EXPECT_TRUE(checked(id::FigureButton));
    newGame();
    press(id::DifficultyButton);
    EXPECT_EQ(lastNotice(), "Level: five wrong guesses allowed");
    EXPECT_TRUE(checked(id::DifficultyButton));
    EXPECT_EQ(name(id::GuessLimitDisplay), "Limit 5");
}

TEST_F(AccessibilityTest, TheMessageWindowSaysItsTextWhenItOpens) {
    startWith("tin can");
    desk.click(Window::Main, {100, 10});
    ASSERT_TRUE(desk.windowVisible(Window::Message));
    EXPECT_EQ(lastNotice(), "Use the arrow keys to move the game window");
}

// ---- Keyboard play ---------------------------------------------------------

class KeyboardPlayTest : public AccessibilityTest {
protected:
    void startInKeyboardMode(const std::string& phrase) {
        write("KXC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0\nKeyboard_Play= 1\n");
        startWith(phrase);
    }
};

TEST_F(KeyboardPlayTest, OffByDefaultAndTheDefaultFileIsWrittenAsBefore) {
    startWith("tin can");
    EXPECT_FALSE(app::keyboardMode());
    EXPECT_FALSE(desk.keyboardMode());
    EXPECT_EQ(read("KXC_CONFIG.INI").substr(0, 38), "Disable_Console= 1\nDisable_VCCntls= 1\n");
    EXPECT_EQ(read("KXC_CONFIG.INI").find("Keyboard"), std::string::npos);
}

TEST_F(KeyboardPlayTest, TheThirdLineSwitchesItOnAndTheTwoSwitchesStayAsRead) {
    startInKeyboardMode("tin can");
    EXPECT_TRUE(app::keyboardMode());
    EXPECT_TRUE(desk.keyboardMode());
    EXPECT_EQ(desk.focusOrder(), std::vector<int>(ui::focusOrder.begin(), ui::focusOrder.end()));
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(KeyboardPlayTest, AnyOtherValueOrALockedFileLeavesItOff) {
    write("KXC_CONFIG.INI", "Disable_Console= 1\nDisable_VCCntls= 0\nKeyboard_Play= 0\n");
    startWith("tin can");
    EXPECT_FALSE(app::keyboardMode());
    EXPECT_EQ(library::Disable_Console, 1);
    EXPECT_EQ(library::Disable_VCCntls, 0);
}

TEST_F(KeyboardPlayTest, TheOptionSwitchesItOnForOneRun) {
    const auto noPaths = [] { return library::AppPaths{}; };
    const app::CommandLine given = app::parseCommandLine({"--keyboard"}, noPaths);
    EXPECT_TRUE(given.run);
    EXPECT_TRUE(given.keyboard);
    EXPECT_FALSE(app::parseCommandLine({}, noPaths).keyboard);
    app::keyboardOptionGiven = given.keyboard;
    startWith("tin can");
    EXPECT_TRUE(desk.keyboardMode());
    EXPECT_EQ(read("KXC_CONFIG.INI").find("Keyboard"), std::string::npos);
}

TEST_F(KeyboardPlayTest, WithTheModeOffALetterKeyChangesNothing) {
    startWith("tin can");
    newGame();
    // The same path acts on an arrow key: the window moves.
    const platform::Rect before = desk.windowRect(Window::Main);
    desk.pressKey(Window::Main, platform::VK_LEFT);
    EXPECT_EQ(desk.windowRect(Window::Main).left, before.left - 2);
    desk.clearCalls();
    const std::string display = state().display;
    for (int key = 'A'; key <= 'Z'; ++key) desk.pressKey(Window::Main, key);
    desk.pressKey(Window::Main, platform::VK_ESCAPE);
    EXPECT_EQ(state().display, display);
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_TRUE(std::all_of(state().letterUsed.begin(), state().letterUsed.end(), [](int u) { return u == 0; }));
    EXPECT_TRUE(desk.calls().empty()) << desk.calls().front();
}

TEST_F(KeyboardPlayTest, ALetterKeyDoesExactlyWhatAClickOnItsTileDoes) {
    // The calls of a clicked game and of a typed one are the same.
    std::vector<std::string> clicked;
    {
        startInKeyboardMode("tin can");
        newGame();
        desk.clearCalls();
        clickLetters("NQTNICA");
        clicked = desk.calls();
    }
    resetProgramState();
    fs::remove(file("KXStats.dat"));   // the typed game starts from the same scores
    platform::MemoryDesktop typedDesk;
    platform::setDesktop(&typedDesk);
    app::startProgram((dir / "tarvik-kxv").string());
    typedDesk.pressButton(id::NewGameButton);
    typedDesk.clearCalls();
    for (char c : std::string("NQTNICA")) typedDesk.pressKey(Window::Main, c);
    ASSERT_EQ(typedDesk.calls().size(), clicked.size());
    for (std::size_t k = 0; k < clicked.size(); ++k) EXPECT_EQ(typedDesk.calls()[k], clicked[k]) << k;
    EXPECT_EQ(game::roundState.gameInProgress, 0);
    EXPECT_EQ(game::playerStats[0].winsText, "1");
    platform::setDesktop(&desk);
}

TEST_F(KeyboardPlayTest, EscapeClosesTheOwnedWindowsAndReturnGuessesThePhrase) {
    startInKeyboardMode("tin can");
    desk.click(Window::Main, {100, 10});
    ASSERT_TRUE(desk.windowVisible(Window::Message));
    desk.pressKey(Window::Message, platform::VK_ESCAPE);
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    press(id::AddPuzzlesButton);
    ASSERT_TRUE(desk.windowVisible(Window::AddPuzzle));
    desk.pressKey(Window::AddPuzzle, platform::VK_ESCAPE);
    EXPECT_FALSE(desk.windowVisible(Window::AddPuzzle));
    EXPECT_EQ(library::libraryState.addWindowToggleCount, 2);
    // Escape on the main window does nothing; the arrows still move it.
    desk.pressKey(Window::Main, platform::VK_ESCAPE);
    EXPECT_TRUE(desk.windowVisible(Window::Main));
    const platform::Rect before = desk.windowRect(Window::Main);
    desk.pressKey(Window::Main, platform::VK_DOWN);
    EXPECT_EQ(desk.windowRect(Window::Main).top, before.top + 2);

    newGame();
    desk.type(id::GuessEdit, "tin can");
    desk.pressReturnIn(id::GuessEdit);
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().winsText, "1");
}

}  // namespace
