// One player, one data folder: the package (installed below /usr, as dpkg
// would put it) and a per-user install into ~/.local both present, run by
// the ordinary account tarvik-player. The installed tool fills the library
// the games draw from, a win in one is seen in the other, the files an
// earlier per-user install kept in ~/.local/games move over, root running
// the package writes nothing below its prefix, and a copy whose own folder
// is read-only plays on with its own files.
#include <sys/stat.h>

#include <map>
#include <set>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kWordList = kAnagramWordList;
const std::string kAnagrams = "first;1:stone;A small rock:notes;Music on paper:onset;Start:tones;Pitch:last;2:";

class DataFolderShared : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        fs::permissions(dir(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        home_ = dir() / "home";
        folder_ = home_ / ".local" / "share" / "tarvik-kxv";
        // The package's files as dpkg lays them out: below /usr in a root
        // of their own, root's and read-only.
        packageRoot_ = dir() / "pkg";
        std::string error;
        ASSERT_TRUE(installBuild("/usr", packageRoot_, error)) << error;
        packageGame_ = packageRoot_ / "usr" / "games" / "tarvik-kxv";
        ASSERT_TRUE(fs::is_regular_file(packageGame_)) << "the package keeps its programs in /usr/games";
        makeRootsReadOnly(packageRoot_);
        packaged_ = snapshot(packageRoot_);
    }

    // The per-user install into the player's ~/.local, as the README says.
    void installPerUser() {
        std::string error;
        ASSERT_TRUE(installBuild(home_ / ".local", {}, error)) << error;
        ASSERT_TRUE(fs::is_regular_file(home_ / ".local" / "bin" / "tarvik-kxv"));
        ASSERT_TRUE(fs::is_regular_file(home_ / ".local" / "bin" / "tarvik-kxv-library"));
        ASSERT_TRUE(giveToUser(home_, kPlayerAccount));
        ASSERT_TRUE(giveToUser(dir() / "runtime", kPlayerAccount));
    }

    // Runs a command to its end as the player, from the player's home.
    RunResult runAsPlayer(const std::vector<std::string>& argv) { return runAs(kPlayerAccount, argv, home_); }

    bool startGame(const fs::path& program, const std::string& user = kPlayerAccount,
                   const Environment& extra = {}) {
        programPath_ = program;
        launch(extra, user);
        if (HasFatalFailure()) return false;
        return !waitForMainWindow().empty();
    }
    std::string lastErrors() const { return readFile(dir() / ("run" + std::to_string(launches_) + ".err")); }

    // Wins one of the anagrams: five tiles, no miss, 50 points.
    void winAnAnagram() {
        ASSERT_TRUE(startNewGame()) << "New Game shows no phrase";
        for (char letter : std::string(kAnagramLetters)) clickTile(letter);
        const ScreenRect win = controlOnScreen(ui::id::WinPictureLeft);
        EXPECT_TRUE(waitForPicture(3750, win.left, win.top)) << "S, T, O, N, E did not win the drawn puzzle";
    }

    void writeAsPlayer(const fs::path& p, const std::string& bytes) {
        fs::create_directories(p.parent_path());
        writeFile(p, bytes);
        giveToUser(home_, kPlayerAccount);
    }

    fs::path home_, folder_, packageRoot_, packageGame_;
    std::map<std::string, std::string> packaged_;
};

TEST_F(DataFolderShared, TheInstalledToolFillsTheLibraryAndAWinInOneInstallIsSeenInTheOther) {
    installPerUser();
    // A library with nothing drawable yet, then the word list imported by
    // the installed tool, run without --dir.
    writeAsPlayer(folder_ / "OnLoad.dat", scramble("first;1:last;2:"));
    writeAsPlayer(home_ / "words.kvtml", kWordList);
    const RunResult imported =
        runAsPlayer({(home_ / ".local" / "bin" / "tarvik-kxv-library").string(), "import",
                     (home_ / "words.kvtml").string()});
    ASSERT_TRUE(imported.finished) << "the tool did not end";
    ASSERT_EQ(imported.exitCode, 0) << imported.out << imported.err;
    EXPECT_NE(imported.out.find("Added 4 puzzles"), std::string::npos) << imported.out;
    const std::string library = unscramble(readFile(folder_ / "OnLoad.dat"));
    EXPECT_NE(library.find("stone;"), std::string::npos) << "the tool did not write the data folder: "
                                                        << printable(library);
    EXPECT_FALSE(fs::exists(home_ / ".local" / "bin" / "OnLoad.dat")) << "the tool wrote beside itself";

    // The per-user game draws an imported puzzle; the win is booked there.
    ASSERT_TRUE(startGame(home_ / ".local" / "bin" / "tarvik-kxv")) << program_.describeEnd() << lastErrors();
    winAnAnagram();
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "50 1 0 0 0 0");

    // The package's game reads the same library and scores: its win adds up.
    ASSERT_TRUE(startGame(packageGame_)) << program_.describeEnd() << lastErrors();
    winAnAnagram();
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "100 2 0 0 0 0") << "the package's game kept its own scores";
    EXPECT_EQ(unscramble(readFile(folder_ / "OnLoad.dat")), library);

    // Neither install holds a file of the player's.
    EXPECT_EQ(snapshot(packageRoot_), packaged_) << "the package's files changed";
    std::set<std::string> bin;
    for (const auto& e : fs::directory_iterator(home_ / ".local" / "bin")) bin.insert(e.path().filename());
    EXPECT_EQ(bin, (std::set<std::string>{"tarvik-kxv", "tarvik-kxv-library"}));
}

TEST_F(DataFolderShared, RootRunningThePackagedGameWritesNothingBelowThePrefix) {
    const fs::path rootHome = dir() / "root-home";
    fs::create_directories(rootHome);
    ASSERT_TRUE(startGame(packageGame_, {}, {{"HOME", rootHome.string()}, {"XDG_DATA_HOME", ""}}))
        << program_.describeEnd() << lastErrors();
    ASSERT_TRUE(startNewGame()) << "New Game shows no phrase";
    for (char c : std::string("AEIOU")) clickTile(c);
    ASSERT_TRUE(waitForTileGone('U')) << "the tiles are not taken";
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    const fs::path rootFolder = rootHome / ".local" / "share" / "tarvik-kxv";
    EXPECT_EQ(readFile(rootFolder / "KXData.dat"), "Data purged...");
    EXPECT_FALSE(readFile(rootFolder / "KXStats.dat").empty());
    EXPECT_EQ(readFile(rootFolder / "OnLoad.dat"),
              readFile(packageRoot_ / "usr" / "share" / "games" / "tarvik-kxv" / "OnLoad.dat"));
    EXPECT_EQ(snapshot(packageRoot_), packaged_) << "root's run wrote below /usr";
}

TEST_F(DataFolderShared, TheFilesAnEarlierPerUserInstallKeptBesideItselfMoveToTheDataFolder) {
    installPerUser();
    // What the earlier install left in ~/.local/games: the library, scores,
    // unlocked switches, and the plain library of a run that was killed.
    const fs::path earlier = home_ / ".local" / "games";
    writeAsPlayer(earlier / "OnLoad.dat", scramble(kAnagrams));
    writeAsPlayer(earlier / "KXData.dat", kAnagrams);
    writeAsPlayer(earlier / "KXStats.dat", "70 2 1 0 0 0");
    writeAsPlayer(earlier / "KXC_CONFIG.INI", kUnlockedConfig);
    ASSERT_FALSE(fs::exists(folder_));

    ASSERT_TRUE(startGame(home_ / ".local" / "bin" / "tarvik-kxv")) << program_.describeEnd() << lastErrors();
    EXPECT_EQ(readFile(folder_ / "OnLoad.dat"), scramble(kAnagrams));
    EXPECT_EQ(readFile(folder_ / "KXData.dat"), kAnagrams);
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "70 2 1 0 0 0");
    EXPECT_EQ(readFile(folder_ / "KXC_CONFIG.INI"), kUnlockedConfig);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"})
        EXPECT_FALSE(fs::exists(earlier / name)) << name << " is still in ~/.local/games";
    // The moved switches are in force: the add-puzzle window opens.
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_FALSE(waitForWindow("Add_Puzzle").empty()) << "the moved configuration is not the one in use";
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 5s));
    winAnAnagram();
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "120 3 1 0 0 0") << "the moved scores were not played on";
    EXPECT_EQ(unscramble(readFile(folder_ / "OnLoad.dat")), kAnagrams);
    struct stat st {};
    ASSERT_EQ(::stat((folder_ / "KXStats.dat").c_str(), &st), 0);
    struct stat h {};
    ASSERT_EQ(::stat(home_.c_str(), &h), 0);
    EXPECT_EQ(st.st_uid, h.st_uid) << "the moved statistics are not the player's";
}

TEST_F(DataFolderShared, ACopyWhoseOwnFolderIsReadOnlyPlaysOnWithItsOwnFiles) {
    // A copy unpacked into a folder of the player's, later made read-only.
    const fs::path own = home_ / "unpacked";
    fs::create_directories(own);
    fs::copy_file(TARVIK_BINARY, own / "tarvik-kxv");
    fs::permissions(own / "tarvik-kxv", fs::perms::owner_all, fs::perm_options::add);
    writeFile(own / "OnLoad.dat", scramble(kAnagrams));
    writeFile(own / "KXData.dat", "Data purged...");
    writeFile(own / "KXStats.dat", "70 2 1 0 0 0");
    writeFile(own / "KXC_CONFIG.INI", kUnlockedConfig);
    ASSERT_TRUE(giveToUser(home_, kPlayerAccount));
    ASSERT_TRUE(giveToUser(dir() / "runtime", kPlayerAccount));
    fs::permissions(own, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const auto before = snapshot(own);

    ASSERT_TRUE(startGame(own / "tarvik-kxv")) << program_.describeEnd() << lastErrors();
    EXPECT_NE(lastErrors().find(own.string() + "/ cannot be written"), std::string::npos)
        << "the player is not told where the game plays: " << lastErrors();
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "70 2 1 0 0 0");
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_FALSE(waitForWindow("Add_Puzzle").empty()) << "the copy's own switches are not in force";
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 5s));
    winAnAnagram();
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(folder_ / "KXStats.dat"), "120 3 1 0 0 0") << "its own scores were not played on";
    EXPECT_EQ(snapshot(own), before) << "the read-only folder changed";
    fs::permissions(own, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(DataFolderShared, VersionAndHelpAnswerWithoutAWindowAndUnknownOptionsAreRefused) {
    installPerUser();
    const std::string game = (home_ / ".local" / "bin" / "tarvik-kxv").string();
    // The same program opens its window when started plainly.
    ASSERT_TRUE(startGame(game)) << program_.describeEnd() << lastErrors();
    ASSERT_TRUE(exitThroughButton());
    fs::remove_all(folder_);

    const RunResult version = runAsPlayer({game, "--version"});
    ASSERT_TRUE(version.finished);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tarvik-kxv ") + TARVIK_VERSION + "\n");

    const RunResult help = runAsPlayer({game, "--help"});
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Files, in " + folder_.string() + "/:\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("KXStats.dat"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Help document: " + (home_ / ".local" / "share" / "games" / "tarvik-kxv").string() +
                            "/Tarvik_kxv-help.chm\n"),
              std::string::npos)
        << help.out;

    const RunResult unknown = runAsPlayer({game, "--full-screen"});
    ASSERT_TRUE(unknown.finished);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown option '--full-screen'"), std::string::npos) << unknown.err;
    EXPECT_EQ(unknown.out, "");

    // None of the three opened a window or made the data folder.
    EXPECT_FALSE(windowVisible("Tarvik_KXv")) << x_.describeWindows();
    EXPECT_FALSE(fs::exists(folder_)) << "an answer on the command line wrote files";
}

}  // namespace
}  // namespace e2e
