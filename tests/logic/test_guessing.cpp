// Letter clicks and whole-phrase guesses during a game.
#include "game_test_support.h"

namespace {

using namespace testing_support;
using platform::Window;
namespace id = ui::id;

class GuessingTest : public GameTest {};

TEST_F(GuessingTest, ALetterRevealsEveryPlaceWithOneHitCue) {
    startWith("banana");
    newGame();
    desk.clearCalls();
    clickLetter('A');
    EXPECT_EQ(state().display, " _ A _ A _ A");
    EXPECT_EQ(state().workingCopy, " B * N * N *");
    EXPECT_EQ(shown(id::PhraseDisplay), " _ A _ A _ A");
    EXPECT_EQ(shown(id::PhraseUnderlay), " _ _ _ _ _ _");
    EXPECT_EQ(desk.count(hitWave), 1);
    EXPECT_EQ(desk.count(missWave), 0);
    EXPECT_FALSE(desk.visible(id::LetterTile(0)));
    EXPECT_EQ(state().letterUsed[0], 1);
    EXPECT_EQ(state().wrongGuesses, 0);
    EXPECT_EQ(shown(id::MissedLetters), std::string(28, ' '));
}

TEST_F(GuessingTest, MissesAndAWrongPhraseAreListedAndGrowTheGallows) {
    startWith("banana");
    newGame();
    desk.clearCalls();
    clickLetter('Q');
    EXPECT_TRUE(desk.visible(id::GallowsStage1));
    clickLetter('Z');
    guess("bandana");
    EXPECT_EQ(shown(id::MissedLetters), "Q Z # ");
    EXPECT_EQ(state().wrongGuesses, 3);
    EXPECT_EQ(state().playerWrongGuesses, 3);
    EXPECT_EQ(desk.count(missWave), 3);
    EXPECT_TRUE(desk.visible(id::GallowsStage1));
    EXPECT_TRUE(desk.visible(id::GallowsStage2));
    EXPECT_TRUE(desk.visible(id::GallowsStage3));
    EXPECT_FALSE(desk.visible(id::GallowsStage4));
    EXPECT_EQ(shown(id::GuessEdit), "bandana");   // a guess keeps its text
}

TEST_F(GuessingTest, APhraseGuessIgnoresCaseButNothingElse) {
    startWith("go 4 it!");
    newGame();
    for (const char* wrong : {"GO 4 IT", "go  4 it!", " go 4 it!", "go 4 it!!", "g o 4 i t !"}) {
        guess(wrong);
        EXPECT_EQ(state().gameInProgress, 1) << wrong;
    }
    EXPECT_EQ(state().wrongGuesses, 5);
    guess("Go 4 iT!");
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().wins, 1);
    EXPECT_EQ(one().totalScore, 30);   // (8 - 5) * 10
    EXPECT_EQ(shown(id::PhraseDisplay), " G O   4   I T !");
    EXPECT_TRUE(desk.visible(id::WinPictureLeft));
    EXPECT_TRUE(desk.visible(id::WinPictureRight));
    EXPECT_EQ(shown(id::GuessEdit), "Go 4 iT!");
}

TEST_F(GuessingTest, OnlyAWholePhraseGuessWinsAPhraseWithAHash) {
    startWith("no#1");
    newGame();
    clickLetters("NO");
    EXPECT_EQ(state().gameInProgress, 1);
    guess("NO#1");
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().wins, 1);
}

TEST_F(GuessingTest, APhraseGuessBetweenGamesBeepsAndAnEmptyOneOnlyClicks) {
    startWith("banana");
    guess("banana");
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(desk.count(clickWave), 0);
    newGame();
    desk.clearCalls();
    guess("");
    EXPECT_EQ(desk.count(clickWave), 1);
    EXPECT_EQ(desk.count(missWave), 0);
    EXPECT_EQ(state().wrongGuesses, 0);
}

TEST_F(GuessingTest, APhraseWithoutLettersIsWonByTheFirstClick) {
    startWith("1999");
    newGame();
    EXPECT_EQ(state().display, " 1 9 9 9");
    EXPECT_EQ(state().gameInProgress, 1);
    clickEmptySpot();
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().wins, 1);
    EXPECT_EQ(one().totalScore, 40);
    EXPECT_TRUE(desk.visible(id::WinPictureLeft));
}

TEST_F(GuessingTest, AUsedLetterIsNotCountedTwice) {
    startWith("banana");
    newGame();
    clickLetter('Q');
    clickLetter('Q');
    clickLetter('B');
    clickLetter('B');
    EXPECT_EQ(state().wrongGuesses, 1);
    EXPECT_EQ(shown(id::MissedLetters), "Q ");
    EXPECT_EQ(desk.count(hitWave), 1);
    EXPECT_EQ(desk.count(missWave), 1);
}

TEST_F(GuessingTest, ClicksFromAnyWindowHitATileOnlyByScreenPosition) {
    startWith("banana");
    newGame();
    const platform::Point onTileInMain = desk.centreOf(id::LetterTile(1));   // B
    desk.click(Window::AddPuzzle, onTileInMain);
    desk.click(Window::Message, onTileInMain);
    EXPECT_EQ(state().letterUsed[1], 0);
    EXPECT_TRUE(desk.visible(id::LetterTile(1)));

    desk.click(Window::AddPuzzle, desk.centreOf(id::LetterTile(1), Window::AddPuzzle));
    EXPECT_EQ(state().letterUsed[1], 1);
    EXPECT_EQ(state().display, " B _ _ _ _ _");
    desk.click(Window::Message, desk.centreOf(id::LetterTile(25), Window::Message));   // Z
    EXPECT_EQ(state().letterUsed[25], 1);
    EXPECT_EQ(shown(id::MissedLetters), "Z ");
}

TEST_F(GuessingTest, ClicksBetweenGamesChangeNothing) {
    startWith("banana");
    clickLetter('A');
    EXPECT_EQ(state().letterUsed[0], 0);
    EXPECT_TRUE(desk.visible(id::LetterTile(0)));
    EXPECT_EQ(desk.wavesPlayed().size(), 0u);
}

TEST_F(GuessingTest, TheSeventhMissLosesWithTheWholeFigure) {
    startWith("banana");
    newGame();
    clickLetters("QWERTY");
    EXPECT_EQ(state().gameInProgress, 1);
    EXPECT_TRUE(desk.visible(id::GallowsStage6));
    desk.clearCalls();
    clickLetter('U');
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(state().wrongGuesses, 7);
    EXPECT_TRUE(desk.visible(id::LossFigure));
    for (int stage : {id::GallowsStage1, id::GallowsStage2, id::GallowsStage3, id::GallowsStage4,
                      id::GallowsStage5, id::GallowsStage6, id::AltGallowsStage1}) {
        EXPECT_FALSE(desk.visible(stage)) << stage;
    }
    EXPECT_EQ(desk.count(lossWave), 1);
    EXPECT_EQ(one().losses, 1);
    EXPECT_NE(shown(id::PhraseDisplay), " B A N A N A");   // not shown on a loss
    EXPECT_FALSE(desk.timerRunning(Window::Main, 1));
    // The game is over: further clicks and guesses do nothing.
    clickLetter('B');
    guess("banana");
    EXPECT_EQ(state().letterUsed[1], 0);
    EXPECT_EQ(one().losses, 1);
    EXPECT_EQ(one().wins, 0);
}

TEST_F(GuessingTest, AWrongPhraseCanBeTheSeventhMiss) {
    startWith("banana");
    newGame();
    clickLetters("QWERTY");
    guess("nope");
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_EQ(one().losses, 1);
    EXPECT_TRUE(desk.visible(id::LossFigure));
}

TEST_F(GuessingTest, TheAlternateFigureHasItsOwnHeadAndLoss) {
    startWith("banana");
    press(id::FigureButton);
    newGame();
    guess("wrong");
    EXPECT_TRUE(desk.visible(id::AltGallowsStage1));
    EXPECT_FALSE(desk.visible(id::GallowsStage1));
    desk.clearCalls();
    clickLetters("QWERTY");
    EXPECT_EQ(state().gameInProgress, 0);
    EXPECT_TRUE(desk.visible(id::AltLossFigure));
    EXPECT_FALSE(desk.visible(id::LossFigure));
    EXPECT_FALSE(desk.visible(id::AltGallowsStage1));
    EXPECT_EQ(desk.count(altLossWave), 1);
    EXPECT_EQ(desk.count(lossWave), 0);
    EXPECT_TRUE(desk.timerRunning(Window::Main, 1));
}

TEST_F(GuessingTest, MutedCuesStaySilentButTheClickDoesNot) {
    startWith("banana");
    press(id::SoundButton);
    newGame();
    desk.clearCalls();
    clickLetters("AQ");
    guess("BANANA");
    EXPECT_EQ(desk.wavesPlayed(), (std::vector<int>{4450}));
    EXPECT_EQ(one().wins, 1);
}

}  // namespace

// Latin-1 letters are shown as capitals like the ASCII ones, stay uncovered
// from the start (the tiles guess A to Z only), and a phrase guess matches
// them in either case; the stored phrase keeps its bytes.
TEST_F(GuessingTest, Latin1LettersShowAsCapitalsAndMatchAPhraseGuessInEitherCase) {
    const std::string stored = "first;never drawn:eichh\xf6rnchen;Tier:eichh\xf6rnchen;Tier:eichh\xf6rnchen;Tier:last;x:";
    start();
    write("KXData.dat", stored);
    newGame();
    EXPECT_EQ(shown(id::PhraseDisplay), " _ _ _ _ _ \xd6 _ _ _ _ _ _");
    clickLetters("EICHRN");
    EXPECT_EQ(state().gameInProgress, 0) << "the six letters A to Z win it: the \xd6 needs no tile";
    EXPECT_EQ(shown(id::PhraseDisplay), " E I C H H \xd6 R N C H E N");
    EXPECT_EQ(state().wrongGuesses, 0);

    for (const char* typed : {"EICHH\xd6RNCHEN", "eichh\xf6rnchen", "EiChH\xf6RnChEn"}) {
        newGame();
        guess(typed);
        EXPECT_EQ(state().gameInProgress, 0) << typed;
        EXPECT_EQ(state().wrongGuesses, 0) << typed;
    }
    newGame();
    guess("EICHHORNCHEN");   // another letter is a miss
    EXPECT_EQ(state().gameInProgress, 1);
    EXPECT_EQ(state().wrongGuesses, 1);
    EXPECT_EQ(read("KXData.dat"), stored);
}

TEST_F(GuessingTest, SharpSYWithDiaeresisAndTheDivisionSignHaveNoCapital) {
    startWith("stra\xdf" "e \xff \xf7 \xe0\xfe");
    newGame();
    EXPECT_EQ(shown(id::PhraseDisplay), " _ _ _ _ \xdf _   \xff   \xf7   \xc0 \xde");
    guess("STRASSE \xff \xf7 \xc0\xde");
    EXPECT_EQ(state().gameInProgress, 1) << "SS is not \xdf";
    guess("STRA\xdf" "E \xff \xf7 \xc0\xde");
    EXPECT_EQ(state().gameInProgress, 0);
}
