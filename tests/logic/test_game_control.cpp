// New Game, difficulty, players, reveal, figure mode, the flight animation
// and the message window.
#include "game_test_support.h"
#include "library/LibraryState.h"

namespace {

using namespace testing_support;
using platform::Window;
namespace id = ui::id;

const std::string missingText = "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING";

class GameControlTest : public GameTest {
protected:
    void winQuickly() { guess(state().plainAnswer); }
    void loseQuickly() { clickLetters("QWXYZJV"); }
    bool headStartShown() { return desk.visible(id::GallowsStage1) && desk.visible(id::GallowsStage2); }
};

TEST_F(GameControlTest, NewGameSetsUpACleanBoard) {
    startWith("banana");
    newGame();
    loseQuickly();
    press(id::FigureButton);
    desk.clearCalls();
    newGame();
    const auto& s = state();
    EXPECT_EQ(s.gameInProgress, 1);
    EXPECT_EQ(s.gamesStarted, 2);
    EXPECT_EQ(s.wrongGuesses, 0);
    EXPECT_EQ(s.playerWrongGuesses, 0);
    for (int k = 0; k < 26; ++k) {
        EXPECT_TRUE(desk.visible(id::LetterTile(k)));
        EXPECT_EQ(s.letterUsed[k], 0);
    }
    for (int pic : {id::LossFigure, id::AltLossFigure, id::GallowsStage1, id::GallowsStage6,
                    id::AltGallowsStage1, id::WinPictureLeft, id::WinPictureRight}) {
        EXPECT_FALSE(desk.visible(pic)) << pic;
    }
    EXPECT_TRUE(desk.visible(id::FigureModeIndicator));   // the mode stays
    EXPECT_EQ(desk.count(newGameWave), 1);
    EXPECT_TRUE(desk.hasFocus(Window::Main));
    EXPECT_EQ(shown(id::MissedLetters), std::string(28, ' '));
    EXPECT_EQ(shown(id::PhraseDisplay), " _ _ _ _ _ _");
    EXPECT_EQ(shown(id::HintDisplay), "A hint");
}

TEST_F(GameControlTest, TheFirstGameNeverGetsTheHeadStart) {
    startWith("banana");
    press(id::DifficultyButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(state().difficultyToggleCount, 0);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "7");
    newGame();
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
}

TEST_F(GameControlTest, TheHeadStartAppliesFromTheNextGameAndCanBeTakenBack) {
    startWith("banana");
    newGame();
    winQuickly();
    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "5");
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
    newGame();
    EXPECT_EQ(state().wrongGuesses, 2);
    EXPECT_TRUE(headStartShown());

    // Before the first real miss the switch adds and removes it at once.
    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "7");
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
    EXPECT_FALSE(desk.visible(id::GallowsStage2));
    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "5");
    EXPECT_EQ(state().wrongGuesses, 2);
    EXPECT_TRUE(headStartShown());
    EXPECT_EQ(desk.beeps(), 0);

    clickLetter('Q');
    EXPECT_TRUE(desk.visible(id::GallowsStage3));
    press(id::DifficultyButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "5");
    EXPECT_EQ(state().wrongGuesses, 3);

    // Five misses lose in this mode.
    clickLetters("WXYZ");
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().losses, 1);

    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "7");
    newGame();
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
}

TEST_F(GameControlTest, TheHeadStartUsesTheAlternateHeadInFigureMode) {
    startWith("banana");
    newGame();
    winQuickly();
    press(id::FigureButton);
    press(id::DifficultyButton);
    newGame();
    EXPECT_TRUE(desk.visible(id::AltGallowsStage1));
    EXPECT_TRUE(desk.visible(id::GallowsStage2));
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
    press(id::DifficultyButton);
    EXPECT_FALSE(desk.visible(id::AltGallowsStage1));
}

TEST_F(GameControlTest, PlayersChangeOnlyBeforeAnythingIsCounted) {
    startWith("banana");
    press(id::PlayerTwoButton);
    EXPECT_EQ(state().currentPlayer, 2);
    EXPECT_EQ(desk.count(clickWave), 1);
    newGame();
    press(id::PlayerOneButton);
    EXPECT_EQ(state().currentPlayer, 1);
    clickLetter('Q');
    desk.clearCalls();
    press(id::PlayerTwoButton);
    EXPECT_EQ(state().currentPlayer, 1);
    EXPECT_EQ(desk.beeps(), 0);
    EXPECT_EQ(desk.count(clickWave), 0);
    loseQuickly();
    EXPECT_EQ(one().losses, 1);
    EXPECT_EQ(two().losses, 0);

    // With the head start only the two given guesses stand: still allowed.
    press(id::DifficultyButton);
    newGame();
    EXPECT_EQ(state().wrongGuesses, 2);
    press(id::PlayerTwoButton);
    EXPECT_EQ(state().currentPlayer, 2);
    winQuickly();
    EXPECT_EQ(two().wins, 1);
    EXPECT_EQ(two().totalScore, 40);   // (6 - 2) * 10
    EXPECT_EQ(one().wins, 0);
}

TEST_F(GameControlTest, RevealShowsTheAnswerOncePerLostGame) {
    startWith("banana");
    press(id::RevealButton);
    EXPECT_EQ(desk.beeps(), 1);
    newGame();
    press(id::RevealButton);
    EXPECT_EQ(desk.beeps(), 2);
    loseQuickly();
    desk.clearCalls();
    press(id::RevealButton);
    EXPECT_EQ(shown(id::PhraseDisplay), " B A N A N A");
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_EQ(desk.count(clickWave), 1);
    EXPECT_TRUE(desk.hasFocus(Window::Main));
    press(id::RevealButton);
    EXPECT_EQ(desk.beeps(), 1);
    // The solution shown behaves as a finished game.
    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "5");
}

TEST_F(GameControlTest, FigureModeSwitchesOnlyBetweenGames) {
    startWith("banana");
    press(id::PlayerTwoButton);
    press(id::FigureButton);
    EXPECT_EQ(state().altFigureMode, 1);
    EXPECT_TRUE(desk.visible(id::FigureModeIndicator));
    EXPECT_EQ(state().currentPlayer, 2);
    desk.clearCalls();
    newGame();
    press(id::FigureButton);
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(state().altFigureMode, 1);
    winQuickly();
    desk.clearCalls();
    press(id::FigureButton);
    EXPECT_EQ(state().altFigureMode, 0);
    EXPECT_FALSE(desk.visible(id::FigureModeIndicator));
    EXPECT_EQ(desk.wavesPlayed().size(), 0u);
    EXPECT_EQ(state().currentPlayer, 2);
}

TEST_F(GameControlTest, TheFlightRunsEighteenTicksAndLocksNewGame) {
    startWith("banana");
    press(id::FigureButton);
    newGame();
    loseQuickly();
    ASSERT_TRUE(desk.timerRunning(Window::Main, 1));

    // Before the first tick New Game still works; the flight plays over it.
    newGame();
    EXPECT_EQ(state().gamesStarted, 2);
    EXPECT_EQ(state().gameInProgress, 1);

    const auto& frames = id::FlightFrames;
    for (int t = 0; t < 18; ++t) {
        SCOPED_TRACE(t);
        tick();
        for (int f = 0; f < 7; ++f) {
            EXPECT_EQ(desk.visible(frames[f]), t == 10 + f) << "frame " << f + 1;
        }
        if (t < 17) {
            EXPECT_EQ(state().flightTick, t + 1);
            EXPECT_TRUE(desk.timerRunning(Window::Main, 1));
            newGame();
            EXPECT_EQ(state().gamesStarted, 2);
        }
    }
    EXPECT_EQ(state().flightTick, 0);
    EXPECT_FALSE(desk.timerRunning(Window::Main, 1));
    newGame();
    EXPECT_EQ(state().gamesStarted, 3);
}

TEST_F(GameControlTest, TheAlternateLossFigureStaysUntilTheNextGame) {
    startWith("banana");
    press(id::FigureButton);
    newGame();
    loseQuickly();
    for (int t = 0; t < 18; ++t) tick();
    EXPECT_TRUE(desk.visible(id::AltLossFigure));
    newGame();
    EXPECT_FALSE(desk.visible(id::AltLossFigure));
}

TEST_F(GameControlTest, TheTitleStripOpensTheMessageWindowOnceARun) {
    startWith("banana");
    newGame();
    desk.click(Window::Main, {10, 10});
    EXPECT_FALSE(desk.windowVisible(Window::Message));

    winQuickly();
    library::libraryState.addWindowToggleCount = 1;
    desk.click(Window::Main, {10, 10});
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    library::libraryState.addWindowToggleCount = 2;

    desk.clearCalls();
    desk.click(Window::Main, {640, 10});   // the right edge lies outside
    desk.click(Window::Main, {10, 25});    // so does the bottom edge
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    desk.click(Window::Main, {639, 24});
    EXPECT_TRUE(desk.windowVisible(Window::Message));
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(state().messageShownCount, 1);

    press(id::MessageCloseButton);
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    EXPECT_EQ(desk.count(clickWave), 1);
    desk.click(Window::Main, {0, 0});
    EXPECT_FALSE(desk.windowVisible(Window::Message));
    EXPECT_EQ(desk.beeps(), 1);
}

TEST_F(GameControlTest, AOneCharacterGuessSurvivesNewGame) {
    startWith("banana");
    desk.type(id::GuessEdit, "b");
    newGame();
    EXPECT_EQ(shown(id::GuessEdit), "b");
    desk.type(id::GuessEdit, "ba");
    newGame();
    EXPECT_EQ(shown(id::GuessEdit), "");
}

TEST_F(GameControlTest, NewGameAbandonsAGameUnbooked) {
    startWith("banana");
    newGame();
    clickLetters("QWERTY");
    newGame();
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_EQ(one().losses, 0);
    EXPECT_EQ(one().wins, 0);
}

TEST_F(GameControlTest, AFailedDrawLeavesNoGameToWinOrLose) {
    start();   // no puzzle file at all
    newGame();
    EXPECT_EQ(shown(id::PhraseDisplay), missingText);
    EXPECT_EQ(shown(id::HintDisplay), "No data");
    EXPECT_EQ(state().gameInProgress, 0);

    clickEmptySpot();
    clickLetter('A');
    press(id::GuessPhraseButton);
    EXPECT_EQ(one().wins, 0);
    EXPECT_EQ(one().totalScore, 0);
    EXPECT_FALSE(desk.visible(id::WinPictureLeft));
    EXPECT_EQ(shown(id::PhraseDisplay), missingText);

    // The other buttons see a finished game.
    desk.clearCalls();
    press(id::PlayerTwoButton);
    EXPECT_EQ(state().currentPlayer, 2);
    press(id::RevealButton);
    EXPECT_EQ(desk.beeps(), 1);
    press(id::DifficultyButton);
    EXPECT_EQ(shown(id::GuessLimitDisplay), "5");
    press(id::FigureButton);
    EXPECT_EQ(state().altFigureMode, 1);

    // In the five-guess mode no head start is left standing on the bare board.
    newGame();
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_FALSE(desk.visible(id::GallowsStage2));
    EXPECT_FALSE(desk.visible(id::AltGallowsStage1));
    clickEmptySpot();
    EXPECT_EQ(two().wins, 0);
    EXPECT_EQ(two().losses, 0);
}

TEST_F(GameControlTest, AFewRecordsGiveAnEmptyBoardWithoutMessage) {
    start();
    write("KXData.dat", "a;b:c;d:e;f:");   // three records
    newGame();
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(shown(id::PhraseDisplay), "");
    EXPECT_EQ(desk.beeps(), 0);
    clickEmptySpot();
    EXPECT_EQ(one().wins, 0);
}

}  // namespace
