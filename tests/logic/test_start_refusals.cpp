// A start that may not have the folder: another game, the library tool, a
// stranger's lock, or a lock file not safe to lock with. Only another game
// ends quietly (its window comes forward); every other case says why in a box
// and ends with exit code 1, and none of them touches a file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "ChildProcess.h"
#include "Fixture.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"

namespace {

namespace fs = std::filesystem;
using library::LockResult;
using testing_support::HoldingProcess;
using testing_support::ProgramTest;

const std::string kLibrary = "first;opening:cat;animal:dog;pet:sun;star:last;closing:";
const char* const kToolText =
    "The puzzle library is being changed by tarvik-kxv-library; try again when it is done.";

class RefusalTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        write("OnLoad.dat", library::scrambleBytes(kLibrary));
        write("KXData.dat", "Data purged...");
    }
    app::StartOutcome startHere() { return app::startProgram((dir / "tarvik-kxv").string()); }

    // Nothing of the folder changed and no window was made: one box at most.
    void expectUntouched() {
        EXPECT_EQ(read("KXData.dat"), "Data purged...");
        EXPECT_EQ(read("OnLoad.dat"), library::scrambleBytes(kLibrary));
        EXPECT_FALSE(exists("KXStats.dat"));
        EXPECT_FALSE(exists("KXC_CONFIG.INI"));
        for (const auto& call : desk.calls()) EXPECT_EQ(call.rfind("messageBox ", 0), 0u) << call;
    }
    std::string lockFile() const { return (dir / library::kLockFileName).string(); }
};

TEST_F(RefusalTest, TheLibraryToolHoldingTheFolderIsSaidInABoxAndEndsWithOne) {
    const HoldingProcess tool([&] {
        return library::lockFolder(dir.string(), library::LockTaker::Tool).result == LockResult::Taken;
    });
    ASSERT_TRUE(tool.taken());
    const app::StartOutcome outcome = startHere();
    EXPECT_FALSE(outcome.started);
    EXPECT_FALSE(outcome.bringForward);
    EXPECT_EQ(outcome.exitCode, 1);
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_EQ(desk.messageBoxes()[0].text, kToolText);
    expectUntouched();
}

TEST_F(RefusalTest, AnotherGameHoldingTheFolderEndsQuietlyForItsWindowToComeForward) {
    const HoldingProcess game([&] { return library::lockFolder(dir.string()).result == LockResult::Taken; });
    ASSERT_TRUE(game.taken());
    const app::StartOutcome outcome = startHere();
    EXPECT_FALSE(outcome.started);
    EXPECT_TRUE(outcome.bringForward);
    EXPECT_EQ(outcome.holder, game.pid());
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(desk.calls().empty());
    expectUntouched();
}

TEST_F(RefusalTest, AStrangersReadLockIsSaidInABoxNamingTheLockFile) {
    const std::string path = lockFile();
    const HoldingProcess stranger([&] {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT, 0644);
        struct flock fl {};
        fl.l_type = F_RDLCK;
        fl.l_whence = SEEK_SET;
        return fd >= 0 && ::fcntl(fd, F_SETLK, &fl) == 0;
    });
    ASSERT_TRUE(stranger.taken());
    const app::StartOutcome outcome = startHere();
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(outcome.exitCode, 1);
    ASSERT_EQ(desk.messageBoxes().size(), 1u);
    EXPECT_NE(desk.messageBoxes()[0].text.find("in use"), std::string::npos) << desk.messageBoxes()[0].text;
    EXPECT_NE(desk.messageBoxes()[0].text.find(path), std::string::npos) << desk.messageBoxes()[0].text;
    expectUntouched();
}

TEST_F(RefusalTest, ALockFileThatIsADirectoryOrALinkIsNotSafeAndNothingIsWritten) {
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    struct Case {
        const char* what;
        std::function<void()> plant;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a directory", [&] { fs::create_directory(lockFile()); }, "is not a plain file"},
        {"a link", [&] { fs::create_symlink(elsewhere / "lock", lockFile()); }, "is a symbolic link"},
        {"a dangling link's target", [&] { fs::create_symlink("elsewhere/none", lockFile()); }, "is a symbolic link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(lockFile());
        c.plant();
        testing_support::resetProgramState();
        desk = platform::MemoryDesktop{};
        const app::StartOutcome outcome = startHere();
        EXPECT_FALSE(outcome.started);
        EXPECT_EQ(outcome.exitCode, 1);
        ASSERT_EQ(desk.messageBoxes().size(), 1u);
        const std::string& text = desk.messageBoxes()[0].text;
        EXPECT_NE(text.find("not safe"), std::string::npos) << text;
        EXPECT_NE(text.find(lockFile() + " " + c.reason), std::string::npos) << text;
        expectUntouched();
        EXPECT_FALSE(fs::exists(elsewhere / "lock")) << "a link was followed";
        EXPECT_FALSE(fs::exists(elsewhere / "none")) << "a link was followed";
    }
}

TEST_F(RefusalTest, AnotherUsersOrAnUnopenableLockFileIsNotSafe) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
    ::chmod(dir.c_str(), 0777);
    // The folder's files are the player's (nobody here); the lock file is root's.
    for (const char* name : {"OnLoad.dat", "KXData.dat"}) ASSERT_EQ(::chown(file(name).c_str(), 65534, 65534), 0);
    struct Case {
        const char* what;
        uid_t owner;
        mode_t mode;
        const char* reason;
    };
    for (const Case& c : {Case{"another user's", 0, 0644, "belongs to another user"},
                          Case{"another user's, writable to all", 0, 0666, "belongs to another user"},
                          Case{"the player's own of mode 000", 65534, 0, "cannot be opened"}}) {
        SCOPED_TRACE(c.what);
        fs::remove_all(lockFile());
        write(library::kLockFileName, "");
        ASSERT_EQ(::chown(lockFile().c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(lockFile().c_str(), c.mode), 0);
        std::string text;
        const int child = testing_support::inChild(
            [&](std::string& said) {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;
                platform::MemoryDesktop own;
                platform::setDesktop(&own);
                const app::StartOutcome outcome = startHere();
                said = own.messageBoxes().empty() ? "" : own.messageBoxes()[0].text;
                return !outcome.started && outcome.exitCode == 1 && own.messageBoxes().size() == 1 ? 0 : 1;
            },
            &text);
        EXPECT_EQ(child, 0) << text;
        EXPECT_NE(text.find(lockFile() + " " + c.reason), std::string::npos) << text;
        expectUntouched();
        struct stat st {};
        ASSERT_EQ(::stat(lockFile().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode) << "the lock file was changed";
    }
}

}  // namespace
