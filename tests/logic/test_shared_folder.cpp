// The game's files in a folder others may write, and files of other owners:
// links planted by someone else are neither read nor written through, a run
// as root gives the player's files back to the player, and a file this run
// could not read is never written over.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "ChildProcess.h"
#include "LibraryTestSupport.h"
#include "game_test_support.h"
#include "library/AtomicFile.h"
#include "library/FolderLock.h"
#include "library/LinkPolicy.h"
#include "library/PuzzleFile.h"

namespace {

namespace fs = std::filesystem;
using library::scrambleBytes;
using testing_support::GameTest;
namespace id = ui::id;

constexpr uid_t kOther = 65534;   // nobody: the other user, or the player under root
const std::string kLibrary = "first;opening:cat;animal:dog;pet:sun;star:last;closing:";

struct stat statOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

// Runs body in a child as the user nobody (from root) or as this user; its
// exit code, 0 when body held.
int asPlayer(const std::function<bool()>& body) {
    return testing_support::inChild([&] {
        if (::geteuid() == 0 && (::setgid(kOther) != 0 || ::setuid(kOther) != 0)) return 2;
        return body() ? 0 : 1;
    });
}

class SharedFolderTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        library::forgetReportedLinks();
    }
    // The player's private files elsewhere, and links to them planted by
    // another user in the game's folder.
    void plantForeignLinks() {
        home = dir / "home";
        fs::create_directory(home);
        for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
            const fs::path secret = home / (std::string("private-") + name);
            testing_support::writeFile(secret, std::string("secret of ") + name);
            ::chmod(secret.c_str(), 0600);
            fs::create_symlink(secret, file(name));
            ASSERT_EQ(::lchown(file(name).c_str(), kOther, kOther), 0);
        }
    }
    void expectPrivateFilesUntouched() {
        for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
            const fs::path secret = home / (std::string("private-") + name);
            EXPECT_EQ(testing_support::readFile(secret), std::string("secret of ") + name) << name;
            EXPECT_EQ(statOf(secret).st_mode & 07777, 0600u) << name;
            EXPECT_TRUE(fs::is_symlink(file(name))) << name;
        }
        for (const auto& e : fs::directory_iterator(home)) {
            EXPECT_EQ(e.path().filename().string().rfind("private-", 0), 0u) << "left beside: " << e.path();
        }
    }
    fs::path home;
};

TEST_F(SharedFolderTest, LinksAnotherUserPlantedInASharedFolderAreNeitherReadNorWrittenThrough) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's links";
    for (const mode_t mode : {01777, 0777, 0775}) {
        SCOPED_TRACE(mode);
        fs::remove_all(dir / "home");
        for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) fs::remove(file(name));
        ::chmod(dir.c_str(), mode);
        plantForeignLinks();
        testing_support::resetProgramState();
        library::forgetReportedLinks();
        desk = platform::MemoryDesktop{};
        testing::internal::CaptureStderr();
        start();
        EXPECT_FALSE(library::libraryInHand());
        EXPECT_EQ(library::Disable_Console, 1) << "an unreadable configuration locks";
        newGame();
        EXPECT_EQ(shown(id::PhraseDisplay), "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING");
        press(id::ExitButton);
        const std::string err = testing::internal::GetCapturedStderr();
        expectPrivateFilesUntouched();
        for (const char* name : {"OnLoad.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
            const std::string path = file(name).string();
            const auto first = err.find(path + " is a link");
            EXPECT_NE(first, std::string::npos) << name << "\n" << err;
            EXPECT_EQ(err.find(path + " is a link", first + 1), std::string::npos) << "told twice: " << name;
        }
    }
}

TEST_F(SharedFolderTest, OwnLinksInASharedFolderAndAnyLinkInAPrivateOneAreFollowed) {
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    testing_support::writeFile(elsewhere / "stats", "10 1 0 0 0 0");
    fs::create_symlink(elsewhere / "stats", file("KXStats.dat"));
    ::chmod(dir.c_str(), 01777);
    std::string bytes;
    EXPECT_EQ(library::readFileIfPresent(file("KXStats.dat").string(), bytes), library::ReadOutcome::Read);
    EXPECT_TRUE(library::replaceFileAtomically(file("KXStats.dat").string(), "20 2 0 0 0 0"));
    EXPECT_EQ(testing_support::readFile(elsewhere / "stats"), "20 2 0 0 0 0");
    if (::geteuid() == 0) {
        // Another user's link in a folder only its owner may write.
        ASSERT_EQ(::lchown(file("KXStats.dat").c_str(), kOther, kOther), 0);
        ::chmod(dir.c_str(), 0755);
        EXPECT_TRUE(library::replaceFileAtomically(file("KXStats.dat").string(), "30 3 0 0 0 0"));
        EXPECT_EQ(testing_support::readFile(elsewhere / "stats"), "30 3 0 0 0 0");
        // The same link once the folder is shared: refused, the target kept.
        ::chmod(dir.c_str(), 0777);
        EXPECT_EQ(library::readFileIfPresent(file("KXStats.dat").string(), bytes), library::ReadOutcome::Failed);
        EXPECT_FALSE(library::replaceFileAtomically(file("KXStats.dat").string(), "0 0 0 0 0 0"));
        EXPECT_EQ(testing_support::readFile(elsewhere / "stats"), "30 3 0 0 0 0");
    }
}

TEST_F(SharedFolderTest, ARunAsRootGivesThePlayersFilesBackToThePlayer) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root";
    write("OnLoad.dat", scrambleBytes(kLibrary));
    write("KXData.dat", "Data purged...");
    write("KXStats.dat", "100 1 0 0 0 0");
    ::chmod(file("KXStats.dat").c_str(), 0600);
    writeUnlockedConfig();
    ASSERT_EQ(::chown(dir.c_str(), kOther, kOther), 0);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
        ASSERT_EQ(::chown(file(name).c_str(), kOther, kOther), 0);
    }
    fs::remove(file("KXC_CONFIG.INI"));   // made new by this run
    start();
    desk.type(id::PhraseEdit, "rooted");
    press(id::AddButton);
    state().currentPlayer = 1;
    press(id::ResetStatsButton);
    press(id::ExitButton);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI", ".KXLock"}) {
        const struct stat st = statOf(file(name));
        EXPECT_EQ(st.st_uid, kOther) << name;
        EXPECT_EQ(st.st_gid, kOther) << name;
    }
    EXPECT_EQ(statOf(file("KXStats.dat")).st_mode & 07777, 0600u);
    EXPECT_EQ(read("KXStats.dat"), "0 0 0 0 0 0");
    // The player's next run reads and writes them all.
    library::releaseFolderLock();
    testing_support::resetProgramState();
    EXPECT_EQ(asPlayer([&] {
                  const bool started = app::startProgram((dir / "tarvik-kxv").string()).started;
                  return started && library::libraryInHand() && library::scramblePuzzleFile();
              }),
              0);
}

TEST_F(SharedFolderTest, APlainFileThisRunCannotReadIsNeverWrittenOver) {
    write("OnLoad.dat", scrambleBytes(kLibrary));
    write("KXData.dat", "a copy of my own");
    ::chmod(file("KXData.dat").c_str(), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(dir.c_str(), kOther, kOther), 0);
        for (const char* name : {"OnLoad.dat", "KXData.dat"}) ASSERT_EQ(::chown(file(name).c_str(), kOther, kOther), 0);
    }
    EXPECT_EQ(asPlayer([&] {
                  platform::MemoryDesktop own;
                  platform::setDesktop(&own);
                  app::startProgram((dir / "tarvik-kxv").string());
                  const bool refused = !library::libraryInHand();
                  app::orderlyExit();
                  return refused;
              }),
              0);
    EXPECT_EQ(statOf(file("KXData.dat")).st_mode & 07777, 0u);
    EXPECT_EQ(read("KXData.dat"), "a copy of my own");
    EXPECT_EQ(read("OnLoad.dat"), scrambleBytes(kLibrary));
}

// ---- A library that could not be unscrambled ---------------------------------

TEST_F(SharedFolderTest, ALibraryThatCouldNotBeUnscrambledShowsTheMissingDataTextAtEveryNewGame) {
    const std::string big = kLibrary + std::string(2000, 'x') + ";big:";
    write("OnLoad.dat", scrambleBytes(big));
    // A plain file of five records left by a killed run: not this run's library.
    write("KXData.dat", kLibrary);
    {
        library_test::FileSizeLimit limit(1000);
        start();
    }
    ASSERT_FALSE(library::libraryInHand());
    for (int i = 0; i < 2; ++i) {
        desk.clearCalls();
        newGame();
        EXPECT_EQ(shown(id::PhraseDisplay), "ERROR! NO PUZZLE PHRASES - DATABASE/FILE APPEARS TO BE MISSING");
        EXPECT_EQ(shown(id::HintDisplay), "No data");
        EXPECT_EQ(desk.beeps(), 1);
        EXPECT_EQ(state().gameInProgress, 0);
    }
}

}  // namespace
