// The folder lock: one holder at a time, across processes, gone with its holder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "library/FolderLock.h"

namespace fs = std::filesystem;
using library::LockResult;
using testing_support::HoldingProcess;
using testing_support::inChild;

namespace {

fs::path freshDir(const char* name) {
    fs::path dir = fs::temp_directory_path() / ("tarvik-lock-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

}  // namespace

TEST(FolderLock, OneHolderAcrossProcessesAndFreedWhenItEnds) {
    const fs::path dir = freshDir("two");
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    EXPECT_TRUE(fs::exists(dir / library::kLockFileName));
    // Held again by its holder: still taken, with or without the slash.
    EXPECT_EQ(library::lockFolder(dir.string() + "/").result, LockResult::Taken);

    const pid_t self = ::getpid();
    const int child = inChild([&] {
        const auto state = library::lockFolder(dir.string());
        const auto probe = library::probeFolderLock(dir.string());
        return state.result == LockResult::HeldElsewhere && state.holder == self &&
                       probe.result == LockResult::HeldElsewhere
                   ? 0
                   : 1;
    });
    EXPECT_EQ(child, 0);

    library::releaseFolderLock();
    EXPECT_EQ(inChild([&] { return library::lockFolder(dir.string()).result == LockResult::Taken ? 0 : 1; }), 0);
    fs::remove_all(dir);
}

TEST(FolderLock, AKilledHolderLeavesNoLockBehind) {
    const fs::path dir = freshDir("killed");
    HoldingProcess holder([&] { return library::lockFolder(dir.string()).result == LockResult::Taken; });
    ASSERT_TRUE(holder.taken());
    EXPECT_EQ(library::probeFolderLock(dir.string()).result, LockResult::HeldElsewhere);
    holder.kill();
    EXPECT_EQ(library::probeFolderLock(dir.string()).result, LockResult::Taken);
    EXPECT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    library::releaseFolderLock();
    fs::remove_all(dir);
}

TEST(FolderLock, AFolderThatCannotHoldTheFileIsUnavailable) {
    EXPECT_EQ(library::lockFolder("/nonexistent-tarvik-folder").result, LockResult::Unavailable);
}

TEST(FolderLock, AnotherUsersLockFileIsNotSafeToLockWith) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    const fs::path dir = freshDir("other-user");
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    ::chmod(dir.c_str(), 0777);
    const int child = inChild([&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;   // nobody
        const auto state = library::lockFolder(dir.string());
        return state.result == LockResult::Unsafe && state.unsafe == library::UnsafeLock::OtherOwner ? 0 : 1;
    });
    EXPECT_EQ(child, 0);
    library::releaseFolderLock();
    fs::remove_all(dir);
}

TEST(FolderLock, TheGameAndTheToolKeepEachOtherOutAndTellWhoHolds) {
    const fs::path dir = freshDir("who");
    using library::LockHolder;
    using library::LockTaker;
    for (const LockTaker first : {LockTaker::Game, LockTaker::Tool}) {
        ASSERT_EQ(library::lockFolder(dir.string(), first).result, LockResult::Taken);
        const LockHolder expected = first == LockTaker::Game ? LockHolder::Game : LockHolder::Tool;
        const int child = inChild([&] {
            for (const LockTaker second : {LockTaker::Game, LockTaker::Tool}) {
                const auto state = library::lockFolder(dir.string(), second);
                if (state.result != LockResult::HeldElsewhere || state.heldBy != expected) return 1;
            }
            const auto probe = library::probeFolderLock(dir.string());
            return probe.result == LockResult::HeldElsewhere && probe.heldBy == expected ? 0 : 2;
        });
        EXPECT_EQ(child, 0) << (first == LockTaker::Game ? "held by the game" : "held by the tool");
        library::releaseFolderLock();
    }
    fs::remove_all(dir);
}

TEST(FolderLock, TheLockFileIsMadePrivateAndAnOldLooseOneIsNarrowed) {
    const fs::path dir = freshDir("modes");
    const fs::path lock = dir / library::kLockFileName;
    const mode_t oldMask = ::umask(0);
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    ::umask(oldMask);
    struct stat st {};
    ASSERT_EQ(::stat(lock.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    library::releaseFolderLock();

    ::chmod(lock.c_str(), 0644);   // as earlier versions made it
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    ASSERT_EQ(::stat(lock.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    library::releaseFolderLock();
    fs::remove_all(dir);
}

TEST(FolderLock, ALinkAtTheLockFilesPlaceIsNeverFollowed) {
    const fs::path dir = freshDir("link");
    fs::create_symlink(dir / "target", dir / library::kLockFileName);
    const auto state = library::lockFolder(dir.string());
    EXPECT_EQ(state.result, LockResult::Unsafe);
    EXPECT_EQ(state.unsafe, library::UnsafeLock::Link);
    EXPECT_FALSE(fs::exists(dir / "target"));
    EXPECT_EQ(library::probeFolderLock(dir.string()).result, LockResult::Unsafe);
    fs::remove_all(dir);
}

TEST(FolderLock, RootGivesTheLockFileItMakesInAPlayersFolderToThePlayer) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root";
    const fs::path dir = freshDir("root-run");
    ASSERT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    library::releaseFolderLock();
    struct stat st {};
    ASSERT_EQ(::stat((dir / library::kLockFileName).c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    // And the player can lock with it afterwards.
    EXPECT_EQ(inChild([&] {
                  if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;
                  return library::lockFolder(dir.string()).result == LockResult::Taken ? 0 : 1;
              }),
              0);
    fs::remove_all(dir);
}
