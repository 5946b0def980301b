// The folder lock: one holder at a time, across processes, gone with its holder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "library/FolderLock.h"

namespace fs = std::filesystem;
using library::LockResult;

namespace {

fs::path freshDir(const char* name) {
    fs::path dir = fs::temp_directory_path() / ("tarvik-lock-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Runs body in a child process and returns its exit code.
template <class Body>
int inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
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
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        library::lockFolder(dir.string());
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(library::probeFolderLock(dir.string()).result, LockResult::HeldElsewhere);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(library::probeFolderLock(dir.string()).result, LockResult::Taken);
    EXPECT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    library::releaseFolderLock();
    ::close(ready[0]);
    ::close(ready[1]);
    fs::remove_all(dir);
}

TEST(FolderLock, AFolderThatCannotHoldTheFileIsUnavailable) {
    EXPECT_EQ(library::lockFolder("/nonexistent-tarvik-folder").result, LockResult::Unavailable);
}

TEST(FolderLock, ALockFileThisUserCannotWriteStillShowsItsHolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    const fs::path dir = freshDir("other-user");
    ASSERT_EQ(library::lockFolder(dir.string()).result, LockResult::Taken);
    ::chmod(dir.c_str(), 0777);
    const pid_t self = ::getpid();
    const int child = inChild([&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) return 2;   // nobody
        const auto state = library::lockFolder(dir.string());
        return state.result == LockResult::HeldElsewhere && state.holder == self ? 0 : 1;
    });
    EXPECT_EQ(child, 0);
    library::releaseFolderLock();
    fs::remove_all(dir);
}
