// The library tool installed beside the real game: a word list imported
// from the command line is drawn and won in the game, and the tool keeps
// its hands off the library while the game runs.
#include "library/FolderLock.h"
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kWordList = kAnagramWordList;

class LibraryTool : public ProgramTest {
protected:
    // The tool installed beside the game, run there without --dir.
    RunResult tool(const std::vector<std::string>& args) {
        const fs::path copy = dir() / "tarvik-kxv-library";
        if (!fs::exists(copy)) {
            // The build puts the tool beside the game.
            fs::copy_file(fs::path(TARVIK_BINARY).parent_path() / "tarvik-kxv-library", copy);
            fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
        }
        std::vector<std::string> argv = {copy.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return run(argv, {});
    }
    int changedPixels(const QImage& before, const QImage& after, int control) {
        const ScreenRect r = controlOnScreen(control);
        return differingPixels(before, after, r.left, r.top, r.width, r.height);
    }
    // The tool beside the game run as another account.
    RunResult toolAs(const std::string& account, const std::vector<std::string>& args) {
        tool({"--version"});   // puts the copy in place
        std::vector<std::string> argv = {(dir() / "tarvik-kxv-library").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runAs(account, argv, dir(), {}, 10s);
    }
};

TEST_F(LibraryTool, AnImportedPuzzleIsDrawnAndWonThroughTheTiles) {
    writeFile(file("words.kvtml"), kWordList);
    const RunResult imported = tool({"import", file("words.kvtml").string()});
    ASSERT_TRUE(imported.finished);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.out.find("Added 4 puzzles"), std::string::npos) << imported.out;
    ASSERT_TRUE(fs::exists(file("OnLoad.dat")));

    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::PhraseDisplay) > 40; }, 3s))
        << "New Game shows no phrase from the imported library";
    EXPECT_GT(changedPixels(idle, settledScreenshot(), ui::id::HintDisplay), 20) << "no hint shown";
    for (char letter : std::string("STON")) clickTile(letter);
    ASSERT_TRUE(waitForTileGone('N')) << "the letters clicked are not taken";
    const ScreenRect win = controlOnScreen(ui::id::WinPictureLeft);
    EXPECT_FALSE(showsPicture(settledScreenshot(), 3750, win.left, win.top, 0.9)) << "won before the last letter";
    clickTile('E');
    ASSERT_TRUE(waitForPicture(3750, win.left, win.top)) << "the five letters do not win the drawn puzzle";

    ASSERT_TRUE(exitThroughButton());
    // Five letters, no miss: 50 points and a win for player one.
    EXPECT_EQ(readFile(file("KXStats.dat")), "50 1 0 0 0 0") << printable(readFile(file("KXStats.dat")));
}

TEST_F(LibraryTool, RefusesWhileTheGameRunsAndWorksOnceItHasEnded) {
    const std::string plain = "first;1:cat;Animal:dog;Pet:owl;Bird:sun;Star:last;2:";
    writeLibrary(plain);
    writeFile(file("words.txt"), "kiwi;A fruit\n");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    ASSERT_EQ(library::probeFolderLock(dir().string()).result, library::LockResult::HeldElsewhere)
        << "the running game does not hold its folder's lock";
    const std::string before = readFile(file("OnLoad.dat"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", file("words.txt").string()},
          std::vector<std::string>{"add", "kiwi"}, std::vector<std::string>{"delete", "2"},
          std::vector<std::string>{"list"}}) {
        const RunResult r = tool(args);
        ASSERT_TRUE(r.finished) << args[0];
        EXPECT_EQ(r.exitCode, 1) << args[0] << ": " << r.out;
        EXPECT_NE(r.err.find("the game is running"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(file("OnLoad.dat")), before);

    ASSERT_TRUE(exitThroughButton());
    const RunResult r = tool({"import", file("words.txt").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), "first;1:cat;Animal:dog;Pet:owl;Bird:sun;Star:kiwi;A fruit:last;2:");
}

// A player (an ordinary account) saves a German spreadsheet as CSV, with
// semicolons and a header row, imports it with the tool beside the game,
// and the game draws from it; the phrase guessed in capitals, umlaut
// included, wins it.
TEST_F(LibraryTool, APlayersSpreadsheetIsDrawnAndItsUmlautPhraseGuessedInCapitals) {
    writeLibrary("first;1:last;2:");
    // Latin-1 bytes in UTF-8: R\xc3\xb6hrchen and so on. Whichever is drawn, one of
    // the three guesses below wins it.
    writeFile(file("W\xc3\xb6rter.csv"),
              "Begriff;Hinweis\r\n"
              "R\xc3\xb6hrchen;Ein kleines Rohr\r\n"
              "\"H\xc3\xb6rnchen\";\"Geb\xc3\xa4" "ck, s\xc3\xbc\xc3\x9f\"\r\n"
              "Eichh\xc3\xb6rnchen;Tier\r\n");
    ASSERT_TRUE(giveToUser(dir(), kPlayerAccount)) << "no account " << kPlayerAccount;
    const RunResult imported = toolAs(kPlayerAccount, {"import", file("W\xc3\xb6rter.csv").string()});
    ASSERT_TRUE(imported.finished) << "the tool hung";
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.out.find("(csv, semicolon, header row skipped): 3 entries, 3 new puzzles"), std::string::npos)
        << imported.out;
    EXPECT_NE(imported.out.find("Added 3 puzzles to " + file("OnLoad.dat").string() + ";"), std::string::npos)
        << imported.out;
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))),
              "first;1:r\xf6hrchen;Ein kleines Rohr:h\xf6rnchen;Geb\xe4" "ck, s\xfc\xdf:eichh\xf6rnchen;Tier:last;2:");

    launch({}, kPlayerAccount);
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    const QImage idle = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    ASSERT_TRUE(waitUntil([&] { return changedPixels(idle, x_.screenshot(), ui::id::PhraseDisplay) > 40; }, 3s))
        << "New Game shows no phrase from the imported spreadsheet";
    const ScreenRect win = controlOnScreen(ui::id::WinPictureLeft);
    // Each guess typed around a capital O with diaeresis sent as its keysym
    // with shift (xdotool binds it to a spare key, whose unshifted level X
    // reads as the small letter).
    struct Guess {
        std::string before, after;
        int length;
    };
    const std::vector<Guess> guesses = {{"R", "HRCHEN", 8}, {"H", "RNCHEN", 8}, {"EICHH", "RNCHEN", 12}};
    int wonAt = -1;
    for (int k = 0; k < static_cast<int>(guesses.size()) && wonAt < 0; ++k) {
        const QImage before = settledScreenshot();
        ASSERT_TRUE(clickField(ui::id::GuessEdit)) << "GuessEdit does not get the focus";
        xdo_->key("ctrl+a");
        xdo_->key("BackSpace");
        xdo_->type(guesses[k].before);
        xdo_->key("shift+Odiaeresis");
        xdo_->type(guesses[k].after);
        ASSERT_TRUE(waitUntil([&] { return changedPixels(before, x_.screenshot(), ui::id::GuessEdit) > 30; }, 3s))
            << "the guess does not appear in GuessEdit";
        clickControl(ui::id::GuessPhraseButton);
        ASSERT_TRUE(waitUntil(
            [&] {
                const QImage now = x_.screenshot();
                return showsPicture(now, 3750, win.left, win.top, 0.9) ||
                       changedPixels(before, now, ui::id::MissedLetters) > 0;
            },
            3s))
            << "the guess " << k << " neither won nor counted as a miss";
        if (showsPicture(settledScreenshot(), 3750, win.left, win.top, 0.9)) wonAt = k;
    }
    ASSERT_GE(wonAt, 0) << "no guess in capitals won the drawn phrase";
    ASSERT_TRUE(exitThroughButton());
    // (length - the misses before it) x 10, one win.
    const int score = (guesses[static_cast<std::size_t>(wonAt)].length - wonAt) * 10;
    EXPECT_EQ(readFile(file("KXStats.dat")), std::to_string(score) + " 1 0 0 0 0")
        << printable(readFile(file("KXStats.dat")));
}

}  // namespace
}  // namespace e2e
