// Two runs of the tool that clash: the loser is told another run of the
// tool holds the folder, not that the game is running.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "library/FolderLock.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

// Waits up to ten seconds for someone to hold dir's lock.
bool waitForHolder(const std::string& dir) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        if (library::probeFolderLock(dir).result == library::LockResult::HeldElsewhere) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

TEST(LockHolders, AnImportThatMeetsAnotherImportSaysSo) {
    TempFolder f("two-imports");
    writePlainLibrary(f.path(), "first;1:cat;Animal:last;2:");
    // The first import takes the folder, then waits for its word list to be written.
    const fs::path fifo = f / "slow-list";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t first = startTool({"--dir", f.dir(), "import", fifo.string()}, f / "first.out");
    ASSERT_TRUE(waitForHolder(f.dir()));

    writeBytes(f / "other", "owl;Night bird\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", (f / "other").string()}, std::vector<std::string>{"list"}}) {
        std::vector<std::string> full = {"--dir", f.dir()};
        full.insert(full.end(), args.begin(), args.end());
        const ToolResult r = runTool(full);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_NE(r.err.find("another run of tarvik-kxv-library (process " + std::to_string(first) +
                             ") is using the library in"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("game"), std::string::npos) << r.err;
    }

    // The first one still finishes its import.
    const int fd = ::open(fifo.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const std::string words = "lark;Song bird\n";
    ASSERT_EQ(::write(fd, words.data(), words.size()), static_cast<ssize_t>(words.size()));
    ::close(fd);
    int status = 0;
    ASSERT_EQ(::waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(readBytes(f / "first.out").find("Added 1 puzzle to " + f.dir() + "/OnLoad.dat;"), std::string::npos);
    EXPECT_EQ(plainLibrary(f.path()), "first;1:cat;Animal:lark;Song bird:last;2:");
}
