// What a killed run leaves behind goes at the next start, and only that: the
// program's temporary files carry a mark of their own, those of earlier
// versions go only when they prove to be one, and a player's own copies
// beside the game's files always stay.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ChildProcess.h"
#include "Fixture.h"
#include "app/FolderChoice.h"
#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/FolderLock.h"
#include "library/Leftovers.h"
#include "library/PuzzleFile.h"

namespace {

namespace fs = std::filesystem;
using library::scrambleBytes;
using testing_support::ProgramTest;

const std::string kLibrary = "first;opening:cat;animal:dog;pet:sun;star:last;closing:";

class LeftoverTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        write("OnLoad.dat", scrambleBytes(kLibrary));
        write("KXData.dat", "Data purged...");
        write("KXStats.dat", "120 3 1 40 1 2");
    }
    void plant(const std::string& name, const std::string& bytes, mode_t mode) {
        write(name, bytes);
        ::chmod(file(name).c_str(), mode);
    }
};

TEST(LeftoverNames, OnlyTheMarkOrMkstempsMixMakesATemporaryName) {
    EXPECT_TRUE(library::isTemporaryFor("OnLoad.dat.tarvik-kxv-temp-aB3dE9", "OnLoad.dat"));
    EXPECT_FALSE(library::isTemporaryFor("OnLoad.dat.tarvik-kxv-temp-aB3dE", "OnLoad.dat"));
    EXPECT_FALSE(library::isTemporaryFor("OnLoad.dat.tarvik-kxv-temp-aB3d-9", "OnLoad.dat"));
    EXPECT_FALSE(library::isTemporaryFor("KXData.dat.tarvik-kxv-temp-aB3dE9", "OnLoad.dat"));
    EXPECT_EQ(library::temporaryPattern("/d/KXStats.dat"), "/d/KXStats.dat.tarvik-kxv-temp-XXXXXX");
    for (const char* mixed : {"OnLoad.dat.a1B2c3", "OnLoad.dat.qwErty", "OnLoad.dat.xQ3kZp"}) {
        EXPECT_TRUE(library::hasOldTemporaryShape(mixed, "OnLoad.dat")) << mixed;
    }
    for (const char* chosen : {"OnLoad.dat.backup", "OnLoad.dat.before", "OnLoad.dat.orig01", "OnLoad.dat.saved1",
                               "OnLoad.dat.Backup", "OnLoad.dat.BACKUP", "OnLoad.dat.ORIG01", "OnLoad.dat.000000",
                               "OnLoad.dat.bak", "OnLoad.dat.backups"}) {
        EXPECT_FALSE(library::hasOldTemporaryShape(chosen, "OnLoad.dat")) << chosen;
    }
}

TEST_F(LeftoverTest, ThePlayersOwnCopiesSurviveEveryStartEvenPrivateAndLookingAlike) {
    // As the player's cp makes them under umask 077: mode 0600, the same bytes.
    const std::vector<std::pair<std::string, std::string>> copies = {
        {"OnLoad.dat.backup", scrambleBytes(kLibrary)},
        {"KXStats.dat.before", "120 3 1 40 1 2"},
        {"KXC_CONFIG.INI.orig01", library::defaultConfigText()},
        {"KXData.dat.saved1", "Data purged..."},
        {"OnLoad.dat.Backup", scrambleBytes(kLibrary)},
    };
    for (const auto& [name, bytes] : copies) plant(name, bytes, 0600);
    for (int run = 0; run < 2; ++run) {
        start();
        app::orderlyExit();
        library::releaseFolderLock();
        testing_support::resetProgramState();
    }
    for (const auto& [name, bytes] : copies) {
        EXPECT_TRUE(exists(name)) << name;
        EXPECT_EQ(read(name), bytes) << name;
    }
}

TEST_F(LeftoverTest, AnEarlierVersionsLeftoverGoesOnlyWhenItProvesToBeOne) {
    struct Case {
        const char* name;
        std::string bytes;
        mode_t mode;
        bool goes;
    };
    const std::vector<Case> cases = {
        {"KXStats.dat.aB3xQz", "120 3 1 4", 0600, true},
        {"KXData.dat.Qw7rTy", kLibrary.substr(0, 20), 0600, true},
        {"OnLoad.dat.Zx9PqL", scrambleBytes(kLibrary).substr(0, 11), 0600, true},
        {"KXC_CONFIG.INI.kLm4Np", std::string(library::defaultConfigText()).substr(0, 30), 0600, true},
        {"KXStats.dat.cD4yRs", "", 0600, true},                        // killed right after its creation
        {"KXStats.dat.eF5zTu", "120 3 1 4", 0644, false},              // not mkstemp's mode
        {"KXStats.dat.gH6aVw", "my notes", 0600, false},               // not what the game writes
        {"OnLoad.dat.iJ7bXy", "someone else's bytes", 0600, false},
        {"KXData.dat.kL8cZa", "cat;animal:", 0600, false},             // no start of any library here
    };
    for (const auto& c : cases) plant(c.name, c.bytes, c.mode);
    fs::create_hard_link(file("KXStats.dat.aB3xQz"), dir / "kept-by-the-player");
    plant("KXStats.dat.mN9dBb", "1 2", 0600);
    start();
    for (const auto& c : cases) {
        if (std::string(c.name) == "KXStats.dat.aB3xQz") continue;
        EXPECT_EQ(exists(c.name), !c.goes) << c.name;
    }
    EXPECT_TRUE(exists("KXStats.dat.aB3xQz")) << "a file with a second link is someone's";
    EXPECT_FALSE(exists("KXStats.dat.mN9dBb"));
}

TEST_F(LeftoverTest, ALeftoverBesideALinksTargetGoesAtTheNextStart) {
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    fs::remove(file("OnLoad.dat"));
    testing_support::writeFile(elsewhere / "lib.onload", scrambleBytes(kLibrary));
    fs::create_symlink(elsewhere / "lib.onload", file("OnLoad.dat"));
    testing_support::writeFile(elsewhere / "lib.onload.tarvik-kxv-temp-Ab12Cd", "cut by a kill");
    testing_support::writeFile(elsewhere / "lib.onload.backup", "mine");
    start();
    EXPECT_FALSE(fs::exists(elsewhere / "lib.onload.tarvik-kxv-temp-Ab12Cd"));
    EXPECT_TRUE(fs::exists(elsewhere / "lib.onload.backup"));
    EXPECT_EQ(testing_support::readFile(elsewhere / "lib.onload"), scrambleBytes(kLibrary));
}

TEST_F(LeftoverTest, AnotherUsersFileOfTheMarkedNameStays) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make another user's file";
    // The player's run (nobody) in a folder someone else wrote into.
    plant("KXStats.dat.tarvik-kxv-temp-Qq1Ww2", "other", 0644);
    ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat"}) ASSERT_EQ(::chown(file(name).c_str(), 65534, 65534), 0);
    ASSERT_EQ(testing_support::inChild([&] {
                  if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;
                  library::removeLeftovers(app::makeAppPaths((dir / "tarvik-kxv").string()));
                  return 0;
              }),
              0);
    EXPECT_TRUE(exists("KXStats.dat.tarvik-kxv-temp-Qq1Ww2"));
}

TEST_F(LeftoverTest, EveryReplacementWritesThroughAMarkedTemporary) {
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.c_str(), IN_CREATE), 0);
    ASSERT_TRUE(library::replaceFileAtomically(file("KXStats.dat").string(), "1 2 3 4 5 6"));
    alignas(inotify_event) char buffer[4096];
    const ssize_t n = ::read(watch, buffer, sizeof buffer);
    ::close(watch);
    ASSERT_GT(n, 0);
    std::vector<std::string> created;
    for (ssize_t at = 0; at < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
        if (e->len > 0) created.emplace_back(e->name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
    ASSERT_EQ(created.size(), 1u);
    EXPECT_TRUE(library::isTemporaryFor(created[0], "KXStats.dat")) << created[0];
    EXPECT_EQ(read("KXStats.dat"), "1 2 3 4 5 6");
}

}  // namespace
