// The player's files brought into the data folder: those an earlier
// per-user install kept beside itself (moved), and those of a copy whose own
// folder cannot be written (copied). Nothing of the player's is ever lost:
// a file in the data folder gives way only when it holds nothing of theirs.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/CarryOver.h"
#include "app/FolderChoice.h"
#include "library/Config.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"
#include "tests/logic/ChildProcess.h"
#include "tests/logic/Fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::HoldingProcess;
using testing_support::readFile;
using testing_support::writeFile;

const std::string kShipped = library::scrambleBytes("first;x:shipped;s:last;y:");
const std::string kOwnLibrary = library::scrambleBytes("first;x:own;o:puzzles;p:last;y:");
const std::string kOldStats = "120 3 1 40 1 2";
const std::string kUnlocked = "Disable_Console= 0\nDisable_VCCntls= 0\n";

// An install below prefix/ (program in bin/, data in share/games/tarvik-kxv/)
// whose earlier version kept the player's files in prefix/games/.
class CarryOver : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-carry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        exe = root / "prefix" / "bin" / "tarvik-kxv";
        games = root / "prefix" / "games";
        fs::create_directories(exe.parent_path());
        fs::create_directories(games);
        fs::create_directories(root / "prefix" / "share" / "games" / "tarvik-kxv");
        writeFile(root / "prefix" / "share" / "games" / "tarvik-kxv" / "OnLoad.dat", kShipped);
        env.xdgDataHome = (root / "data").string();
        env.home = (root / "home").string();
        env.writable = [](const std::string&) { return true; };
        env.isDirectory = [](const std::string& d) { return fs::is_directory(d); };
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path data() const { return root / "data" / "tarvik-kxv"; }
    library::AppPaths start() {
        notes.clear();
        return app::makeAppPaths(exe.string(), env, &notes);
    }
    void oldFiles(const fs::path& where) {
        writeFile(where / "OnLoad.dat", kOwnLibrary);
        writeFile(where / "KXData.dat", library::kPurgedText);
        writeFile(where / "KXStats.dat", kOldStats);
        writeFile(where / "KXC_CONFIG.INI", kUnlocked);
    }
    static void age(const fs::path& p, int hours) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(hours));
    }
    std::string said() const {
        std::string all;
        for (const auto& n : notes) all += n + "\n";
        return all;
    }

    fs::path root, exe, games;
    app::PathEnvironment env;
    std::vector<std::string> notes;
};

TEST_F(CarryOver, TheEarlierInstallsFilesMoveIntoTheNewDataFolderByteForByte) {
    oldFiles(games);
    const auto p = start();
    EXPECT_EQ(p.directory, data().string() + "/");
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), kOwnLibrary) << "the shipped library was given over the player's";
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(data() / "KXC_CONFIG.INI"), kUnlocked);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"})
        EXPECT_FALSE(fs::exists(games / name)) << name << " was left behind";
    EXPECT_EQ(said(), "");
    // The next start finds nothing more to do and changes nothing.
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(said(), "");
}

TEST_F(CarryOver, FilesBesideTheInstalledProgramItselfMoveToo) {
    // Root once ran the package's program and left its files in its folder.
    oldFiles(exe.parent_path());
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), kOwnLibrary);
    EXPECT_TRUE(fs::is_empty(exe.parent_path()));
}

TEST_F(CarryOver, TheLivePlainLibraryOfAKilledRunMovesAndStaysTheLibrary) {
    // Killed without a scrambled file: the plain one is the only copy.
    writeFile(games / "KXData.dat", "first;x:unsaved;u:last;y:");
    // A data folder made by an earlier start of the package, never changed.
    fs::create_directories(data());
    writeFile(data() / "OnLoad.dat", kShipped);
    writeFile(data() / "KXData.dat", library::kPurgedText);
    start();
    EXPECT_EQ(readFile(data() / "KXData.dat"), "first;x:unsaved;u:last;y:");
    // The shipped library would be unscrambled over it at the start.
    EXPECT_FALSE(fs::exists(data() / "OnLoad.dat"));
    EXPECT_FALSE(fs::exists(games / "KXData.dat"));

    // The start reads it as this folder's library.
    library::appPaths = app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(library::unscramblePuzzleFile(), library::UnscrambleOutcome::NoScrambledFile);
    EXPECT_EQ(readFile(data() / "KXData.dat"), "first;x:unsaved;u:last;y:");
    library::appPaths = {};
}

TEST_F(CarryOver, ThePlayersFilesInTheDataFolderAreNeverWrittenOverAndBothAreKept) {
    oldFiles(games);
    fs::create_directories(data());
    const std::string theirs = library::scrambleBytes("first;x:newer;n:last;y:");
    writeFile(data() / "OnLoad.dat", theirs);
    writeFile(data() / "KXStats.dat", "50 1 0 0 0 0");
    writeFile(data() / "KXC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 1\n");
    start();
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), theirs);
    EXPECT_EQ(readFile(data() / "KXStats.dat"), "50 1 0 0 0 0");
    EXPECT_EQ(readFile(data() / "KXC_CONFIG.INI"), "Disable_Console= 0\nDisable_VCCntls= 1\n");
    EXPECT_EQ(readFile(games / "OnLoad.dat"), kOwnLibrary);
    EXPECT_EQ(readFile(games / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(games / "KXC_CONFIG.INI"), kUnlocked);
    // Each file kept in two places is named, with the one in use.
    for (const char* name : {"OnLoad.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
        EXPECT_NE(said().find("kept " + (games / name).string() + ": " + (data() / name).string()),
                  std::string::npos)
            << said();
    }
}

TEST_F(CarryOver, FirstStartFilesGiveWayOnlyToEarlierFilesThatAreNotOlder) {
    oldFiles(games);
    fs::create_directories(data());
    writeFile(data() / "OnLoad.dat", kShipped);       // the shipped library: never the player's
    writeFile(data() / "KXStats.dat", "0 0 0 0 0 0");  // zeros from long ago
    age(data() / "KXStats.dat", 48);
    age(games / "KXStats.dat", 24);
    writeFile(data() / "KXC_CONFIG.INI", library::kDefaultConfig);   // locked since the earlier config
    age(games / "KXC_CONFIG.INI", 24);
    start();
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), kOwnLibrary);
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(data() / "KXC_CONFIG.INI"), library::kDefaultConfig) << "a later lock was undone";
    EXPECT_EQ(readFile(games / "KXC_CONFIG.INI"), kUnlocked);
    EXPECT_FALSE(fs::exists(games / "KXStats.dat"));

    // Zeros saved after the earlier statistics are a reset, and stay.
    writeFile(games / "KXStats.dat", kOldStats);
    age(games / "KXStats.dat", 24);
    writeFile(data() / "KXStats.dat", "0 0 0 0 0 0");
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), "0 0 0 0 0 0");
    EXPECT_EQ(readFile(games / "KXStats.dat"), kOldStats);
}

TEST_F(CarryOver, AMoveCutShortIsFinishedByTheNextStart) {
    oldFiles(games);
    fs::create_directories(data());
    // Written there already, not yet removed here.
    writeFile(data() / "OnLoad.dat", kOwnLibrary);
    writeFile(data() / "KXStats.dat", kOldStats);
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(data() / "KXC_CONFIG.INI"), kUnlocked);
    EXPECT_FALSE(fs::exists(games / "OnLoad.dat"));
    EXPECT_FALSE(fs::exists(games / "KXStats.dat"));
    EXPECT_EQ(said(), "");
}

TEST_F(CarryOver, OnlyThePlayersOwnRegularFilesAreMoved) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    oldFiles(games);
    ASSERT_EQ(::chown((games / "KXStats.dat").c_str(), 65534, 65534), 0);
    fs::remove(games / "KXC_CONFIG.INI");
    writeFile(root / "elsewhere.ini", kUnlocked);
    fs::create_symlink(root / "elsewhere.ini", games / "KXC_CONFIG.INI");
    start();
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), kOwnLibrary);
    EXPECT_FALSE(fs::exists(data() / "KXStats.dat"));
    EXPECT_FALSE(fs::exists(data() / "KXC_CONFIG.INI"));
    EXPECT_EQ(readFile(games / "KXStats.dat"), kOldStats);
    EXPECT_TRUE(fs::is_symlink(games / "KXC_CONFIG.INI"));
    EXPECT_NE(said().find((games / "KXStats.dat").string() + " is not the player's own file"), std::string::npos)
        << said();
}

// What a game running in dir holds: the folder's lock.
std::function<bool()> lockOf(const fs::path& dir) {
    return [dir] { return library::lockFolder(dir.string()).result == library::LockResult::Taken; };
}

TEST_F(CarryOver, NothingMovesWhileAGameRunsInEitherFolder) {
    oldFiles(games);
    {
        const HoldingProcess running(lockOf(games));
        ASSERT_TRUE(running.taken());
        start();
        EXPECT_EQ(readFile(games / "KXStats.dat"), kOldStats);
        EXPECT_FALSE(fs::exists(data() / "KXStats.dat"));
        EXPECT_NE(said().find("a game is running in " + games.string() + "/"), std::string::npos) << said();
    }
    fs::create_directories(data());
    {
        const HoldingProcess running(lockOf(data()));
        ASSERT_TRUE(running.taken());
        start();
        EXPECT_EQ(readFile(games / "KXStats.dat"), kOldStats);
        EXPECT_FALSE(fs::exists(data() / "KXStats.dat"));
    }
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
}

TEST_F(CarryOver, TheFoldersAnInstalledCopyLooksIn) {
    const auto chosen = app::chooseAppPaths(exe.string(), env);
    const auto from = app::earlierFolders(exe.string(), env, chosen);
    ASSERT_EQ(from.size(), 2u);
    EXPECT_EQ(from[0].directory, exe.parent_path().string() + "/");
    EXPECT_EQ(from[1].directory, games.string() + "/");
    EXPECT_TRUE(from[0].move && from[1].move);
    // A program that still lies in games/ looks there once.
    const fs::path inGames = games / "tarvik-kxv";
    const auto once = app::earlierFolders(inGames.string(), env, app::chooseAppPaths(inGames.string(), env));
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].directory, games.string() + "/");
    EXPECT_EQ(app::earlierFilesFromExecutable(), std::string("../games/"));
}

// A copy that is not installed, in a folder it can no longer write: it plays
// on with its own files, copied into the data folder, and leaves its folder
// exactly as it was.
class ReadOnlyOwnFolder : public CarryOver {
protected:
    void SetUp() override {
        CarryOver::SetUp();
        exe = root / "unpacked" / "tarvik-kxv";
        fs::create_directories(exe.parent_path());
        writeFile(exe.parent_path() / "OnLoad.dat", kOwnLibrary);
        writeFile(exe.parent_path() / "KXData.dat", library::kPurgedText);
        writeFile(exe.parent_path() / "KXStats.dat", kOldStats);
        writeFile(exe.parent_path() / "KXC_CONFIG.INI", kUnlocked);
        const std::string own = exe.parent_path().string() + "/";
        env.writable = [own](const std::string& d) { return d != own; };
    }
};

TEST_F(ReadOnlyOwnFolder, ItsStatisticsLibraryAndSwitchesComeWithItAndItsFolderStaysAsItWas) {
    const auto p = start();
    EXPECT_EQ(p.directory, data().string() + "/");
    EXPECT_EQ(readFile(data() / "OnLoad.dat"), kOwnLibrary);
    EXPECT_EQ(readFile(data() / "KXStats.dat"), kOldStats);
    EXPECT_EQ(readFile(data() / "KXC_CONFIG.INI"), kUnlocked);
    for (const char* name : {"OnLoad.dat", "KXStats.dat", "KXC_CONFIG.INI"})
        EXPECT_TRUE(fs::exists(exe.parent_path() / name)) << name;
    EXPECT_EQ(readFile(exe.parent_path() / "KXData.dat"), library::kPurgedText);
    // The player is told where the game plays now.
    ASSERT_EQ(notes.size(), 1u) << said();
    EXPECT_EQ(notes[0].find(exe.parent_path().string() + "/ cannot be written"), 0u) << said();
    EXPECT_NE(notes[0].find(data().string() + "/"), std::string::npos) << said();

    // Played on there: the data folder's own files are kept from then on.
    writeFile(data() / "KXStats.dat", "130 4 1 40 1 2");
    start();
    EXPECT_EQ(readFile(data() / "KXStats.dat"), "130 4 1 40 1 2");
    EXPECT_EQ(readFile(exe.parent_path() / "KXStats.dat"), kOldStats);
}

TEST_F(ReadOnlyOwnFolder, ALivePlainLibraryOfItsLastRunComesWithIt) {
    fs::remove(exe.parent_path() / "OnLoad.dat");
    writeFile(exe.parent_path() / "KXData.dat", "first;x:unsaved;u:last;y:");
    start();
    EXPECT_EQ(readFile(data() / "KXData.dat"), "first;x:unsaved;u:last;y:");
    EXPECT_FALSE(fs::exists(data() / "OnLoad.dat")) << "the shipped library would hide it";
    EXPECT_EQ(readFile(exe.parent_path() / "KXData.dat"), "first;x:unsaved;u:last;y:");
}

}  // namespace
