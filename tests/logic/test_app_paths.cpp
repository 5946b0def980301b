// Where the files live: beside a program that may write its own folder, in
// the player's data folder otherwise; the data folder's first start and the
// later ones; and a whole run of a program installed where it cannot write.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "app/FolderChoice.h"
#include "library/PuzzleFile.h"
#include "tests/logic/Fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::writeFile;

// A desktop where only the listed directories may be written and only the
// listed ones exist.
struct FakeEnvironment {
    std::set<std::string> writable;
    std::set<std::string> directories;
    std::string xdg;
    std::string home = "/home/ann";
    mutable std::vector<std::string> probed;

    app::PathEnvironment get() const {
        app::PathEnvironment env;
        env.xdgDataHome = xdg;
        env.home = home;
        env.writable = [this](const std::string& d) {
            probed.push_back(d);
            return writable.count(d) != 0;
        };
        env.isDirectory = [this](const std::string& d) { return directories.count(d) != 0; };
        return env;
    }
};

const std::string kInstalledData = "/usr/share/games/tarvik-kxv/";

void expectAllIn(const library::AppPaths& p, const std::string& dir, const std::string& helpDir) {
    EXPECT_EQ(p.directory, dir);
    EXPECT_EQ(p.helpPath, helpDir + "Tarvik_kxv-help.chm");
    EXPECT_EQ(p.statsPath, dir + "KXStats.dat");
    EXPECT_EQ(p.plainPuzzlePath, dir + "KXData.dat");
    EXPECT_EQ(p.configPath, dir + "KXC_CONFIG.INI");
    EXPECT_EQ(p.scrambledPuzzlePath, dir + "OnLoad.dat");
}

TEST(ChooseAppPaths, AWritableFolderKeepsEveryFileBesideTheProgramWhateverTheEnvironment) {
    FakeEnvironment env;
    env.writable = {"/opt/tarvik/"};
    env.xdg = "/home/ann/.data";
    expectAllIn(app::chooseAppPaths("/opt/tarvik/tarvik-kxv", env.get()), "/opt/tarvik/", "/opt/tarvik/");
    EXPECT_EQ(env.probed, std::vector<std::string>{"/opt/tarvik/"});
    // An installed copy is never written into, even where it could be (a
    // per-user install, or root running the package): the data folder.
    for (const std::string bin : {"/opt/games/", "/opt/bin/", "/usr/games/"}) {
        env.writable = {bin};
        env.directories = {"/opt/share/games/tarvik-kxv/", kInstalledData};
        expectAllIn(app::chooseAppPaths(bin + "tarvik-kxv", env.get()), "/home/ann/.data/tarvik-kxv/",
                    bin == "/usr/games/" ? kInstalledData : std::string("/opt/share/games/tarvik-kxv/"));
    }

    // A bare name: the current directory is probed, the paths stay bare.
    env.writable = {"."};
    expectAllIn(app::chooseAppPaths("tarvik-kxv", env.get()), "", "");
    EXPECT_EQ(env.probed.back(), ".");
    // A program in the root directory keeps that one slash.
    env.writable = {"/"};
    expectAllIn(app::chooseAppPaths("/tarvik-kxv", env.get()), "/", "/");
    EXPECT_EQ(env.probed.back(), "/");
}

TEST(ChooseAppPaths, AFolderThePlayerCannotWriteGivesTheDataFolderAndTheInstalledHelp) {
    FakeEnvironment env;
    env.directories = {kInstalledData};
    env.xdg = "/home/ann/.data";
    const auto p = app::chooseAppPaths("/usr/games/tarvik-kxv", env.get());
    expectAllIn(p, "/home/ann/.data/tarvik-kxv/", kInstalledData);
    EXPECT_EQ(app::installedDataFromExecutable(), std::string("../share/games/tarvik-kxv/"));

    env.xdg = "/home/ann/.data/";   // a trailing slash changes nothing
    EXPECT_EQ(app::chooseAppPaths("/usr/games/tarvik-kxv", env.get()).directory, "/home/ann/.data/tarvik-kxv/");
}

TEST(ChooseAppPaths, WithoutAnAbsoluteXdgDataHomeTheFolderIsUnderDotLocalShare) {
    FakeEnvironment env;
    env.directories = {kInstalledData};
    for (const std::string xdg : {"", "relative/data"}) {
        env.xdg = xdg;
        expectAllIn(app::chooseAppPaths("/usr/games/tarvik-kxv", env.get()),
                    "/home/ann/.local/share/tarvik-kxv/", kInstalledData);
    }
    env.home = "/home/bo/";
    EXPECT_EQ(app::chooseAppPaths("/usr/games/tarvik-kxv", env.get()).directory,
              "/home/bo/.local/share/tarvik-kxv/");
}

TEST(ChooseAppPaths, ACopyWithoutInstalledDataReadsItsHelpBesideTheProgram) {
    FakeEnvironment env;
    env.xdg = "/x";
    expectAllIn(app::chooseAppPaths("/media/cd/tarvik-kxv", env.get()), "/x/tarvik-kxv/", "/media/cd/");
    EXPECT_EQ(app::shippedDataDirectory("/media/cd/tarvik-kxv", env.get()), "/media/cd/");
}

TEST(ChooseAppPaths, WithNoHomeAtAllTheFilesStayBesideTheProgram) {
    FakeEnvironment env;
    env.home.clear();
    expectAllIn(app::chooseAppPaths("/usr/games/tarvik-kxv", env.get()), "/usr/games/", "/usr/games/");
}

// The data folder on disk: a temporary home, an installed library.
class DataFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-paths-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        // An installed copy: prefix/games/tarvik-kxv, prefix/share/games/tarvik-kxv/.
        exe = root / "prefix" / "games" / "tarvik-kxv";
        shipped = root / "prefix" / "share" / "games" / "tarvik-kxv";
        fs::create_directories(exe.parent_path());
        fs::create_directories(shipped);
        writeFile(shipped / "OnLoad.dat", kShipped);
        env.xdgDataHome = (root / "home" / "data").string();   // does not exist yet
        env.home = (root / "home").string();
        env.writable = [this](const std::string& d) { return d != exe.parent_path().string() + "/"; };
        env.isDirectory = [](const std::string& d) { return fs::is_directory(d); };
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path folder() const { return root / "home" / "data" / "tarvik-kxv"; }

    const std::string kShipped = std::string("shipped\x01\xff scrambled bytes\n");
    fs::path root, exe, shipped;
    app::PathEnvironment env;
};

TEST_F(DataFolder, TheFirstStartCreatesTheFolderAndGivesItTheShippedLibraryByteForByte) {
    const auto p = app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(p.directory, folder().string() + "/");
    EXPECT_TRUE(fs::is_directory(folder()));
    EXPECT_EQ(readFile(folder() / "OnLoad.dat"), kShipped);
    EXPECT_EQ(fs::canonical(fs::path(p.helpPath).parent_path()), fs::canonical(shipped));
    // Nothing else is made up: statistics and configuration come with the run.
    EXPECT_FALSE(fs::exists(folder() / "KXStats.dat"));
    EXPECT_FALSE(fs::exists(folder() / "KXC_CONFIG.INI"));
    EXPECT_EQ(readFile(shipped / "OnLoad.dat"), kShipped);
}

TEST_F(DataFolder, ALaterStartKeepsThePlayersOwnLibraryEvenAnEmptyOne) {
    fs::create_directories(folder());
    for (const std::string& own : {std::string("player's own"), std::string()}) {
        writeFile(folder() / "OnLoad.dat", own);
        app::makeAppPaths(exe.string(), env);
        EXPECT_EQ(readFile(folder() / "OnLoad.dat"), own);
    }
}

TEST_F(DataFolder, APlainLibraryLeftByABrokenRunIsKeptAndNotReplaced) {
    fs::create_directories(folder());
    writeFile(folder() / "KXData.dat", "unsaved;changes:");
    app::makeAppPaths(exe.string(), env);
    EXPECT_FALSE(fs::exists(folder() / "OnLoad.dat"));
    EXPECT_EQ(readFile(folder() / "KXData.dat"), "unsaved;changes:");

    // A purged plain file holds nothing: the library is given again.
    writeFile(folder() / "KXData.dat", library::kPurgedText);
    app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(readFile(folder() / "OnLoad.dat"), kShipped);
}

TEST_F(DataFolder, WithoutAShippedLibraryTheFolderStaysEmptyAndPrepareSaysSo) {
    fs::remove(shipped / "OnLoad.dat");
    const auto p = app::makeAppPaths(exe.string(), env);
    EXPECT_TRUE(fs::is_directory(folder()));
    EXPECT_TRUE(fs::is_empty(folder()));
    EXPECT_FALSE(app::prepareFolder(p, (shipped / "OnLoad.dat").string()));
}

TEST_F(DataFolder, AFolderThatCannotBeMadeIsReportedAndNothingIsWrittenElsewhere) {
    fs::create_directories(root / "home");
    writeFile(root / "home" / "data", "a file where the folder should go");
    const auto p = app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(p.directory, folder().string() + "/");
    EXPECT_FALSE(app::prepareFolder(p, (shipped / "OnLoad.dat").string()));
    EXPECT_EQ(readFile(root / "home" / "data"), "a file where the folder should go");
    EXPECT_FALSE(fs::exists(exe.parent_path() / "OnLoad.dat"));
}

// A per-user install (into ~/.local, say) may write its own folder, and
// still keeps nothing there: the data folder gets the shipped library.
TEST_F(DataFolder, AWritableInstalledCopyStillKeepsItsFilesInTheDataFolder) {
    env.writable = [](const std::string&) { return true; };
    const auto p = app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(p.directory, folder().string() + "/");
    EXPECT_EQ(p.helpPath, shipped.string() + "/Tarvik_kxv-help.chm");
    EXPECT_EQ(readFile(folder() / "OnLoad.dat"), kShipped);
    EXPECT_TRUE(fs::is_empty(exe.parent_path()));
}

// A build or an unpacked copy: nothing is written, whatever is missing.
TEST_F(DataFolder, ACopyWithoutAnInstallationIsLeftExactlyAsItIs) {
    fs::remove_all(root / "prefix" / "share");
    env.writable = [](const std::string&) { return true; };
    const auto p = app::makeAppPaths(exe.string(), env);
    EXPECT_EQ(p.directory, exe.parent_path().string() + "/");
    EXPECT_EQ(p.helpPath, exe.parent_path().string() + "/Tarvik_kxv-help.chm");
    EXPECT_TRUE(fs::is_empty(exe.parent_path()));
}

// A whole run through the real entry: the program's folder does not exist
// (so nobody may write it), XDG_DATA_HOME points into the test's folder.
class InstalledRun : public testing_support::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (const char* old = std::getenv("XDG_DATA_HOME")) saved = old;
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    }
    void TearDown() override {
        if (saved) setenv("XDG_DATA_HOME", saved->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        ProgramTest::TearDown();
    }
    std::optional<std::string> saved;
};

TEST_F(InstalledRun, AProgramThatCannotWriteItsFolderPlaysAndSavesInTheDataFolder) {
    const fs::path data = dir / "data" / "tarvik-kxv";
    fs::create_directories(data);
    writeFile(data / "OnLoad.dat", library::scrambleBytes("first;one:alpha;a:beta;b:last;two:"));
    writeFile(data / "KXStats.dat", "30 2 1 0 0 4");
    app::startProgram("/nonexistent-tarvik-prefix/games/tarvik-kxv");
    EXPECT_EQ(library::appPaths.directory, data.string() + "/");
    EXPECT_EQ(readFile(data / "KXData.dat"), "first;one:alpha;a:beta;b:last;two:");
    EXPECT_EQ(desk.text(ui::id::PlayerOneTotalDisplay), "30");
    EXPECT_EQ(readFile(data / "KXC_CONFIG.INI").substr(0, 18), "Disable_Console= 1");
    desk.pressButton(ui::id::ExitButton);
    EXPECT_EQ(readFile(data / "KXData.dat"), library::kPurgedText);
    EXPECT_EQ(readFile(data / "OnLoad.dat"), library::scrambleBytes("first;one:alpha;a:beta;b:last;two:"));
    EXPECT_EQ(readFile(data / "KXStats.dat"), "30 2 1 0 0 4");
    EXPECT_FALSE(fs::exists("/nonexistent-tarvik-prefix"));
}

}  // namespace
