// The library tool never harms a library: not while the game holds the
// folder, not when it is killed in the middle of writing a big import.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "library/FolderLock.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

const std::string kLibrary = "first;1:cat;Animal:dog;Pet:owl;Night bird:sun;star:last;2:";

// A child process that holds the folder's lock, as a running game does,
// until the object goes.
class LockHolder {
public:
    explicit LockHolder(const std::string& dir) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release_[1]);
            const bool taken = library::lockFolder(dir).result == library::LockResult::Taken;
            char c = taken ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release_[0], &c, 1);   // until the parent lets go
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char c = 'n';
        taken_ = ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() {
        ::close(release_[1]);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }
    bool taken() const { return taken_; }
    pid_t pid() const { return pid_; }

private:
    int release_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool taken_ = false;
};

// count distinct lower-case words of six letters and their hints, a line each.
std::string wordList(std::size_t count) {
    std::string text;
    text.reserve(count * 20);
    for (std::size_t i = 0; i < count; ++i) {
        std::string word(6, 'a');
        std::size_t n = i;
        for (char& c : word) {
            c = static_cast<char>('a' + n % 26);
            n /= 26;
        }
        text += word + ";generated word\n";
    }
    return text;
}

// Kills pid at the nth change of a file in the watched folder (a write or a
// truncation, whichever file it is: the write of the new library has
// begun); false when the tool ended first.
bool killAtChange(pid_t pid, int inotifyFd, int nth) {
    char buffer[4096];
    int seen = 0;
    while (true) {
        pollfd p{inotifyFd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            const ssize_t n = ::read(inotifyFd, buffer, sizeof buffer);
            for (ssize_t off = 0; off < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + off);
                if ((e->mask & IN_MODIFY) != 0 && ++seen == nth) {
                    ::kill(pid, SIGKILL);
                    return true;
                }
                off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return false;
    }
}

void drain(int inotifyFd) {
    char buffer[4096];
    while (::read(inotifyFd, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

TEST(ToolSafety, RefusesEveryCommandWhileTheFolderIsHeldAndTouchesNothing) {
    TempFolder f("held");
    writePlainLibrary(f.path(), kLibrary);
    writeBytes(f / "words.txt", "kiwi;fruit\n");
    const std::string before = readBytes(f / "OnLoad.dat");
    {
        LockHolder game(f.dir());
        ASSERT_TRUE(game.taken());
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"import", (f / "words.txt").string()},
              std::vector<std::string>{"add", "kiwi", "fruit"}, std::vector<std::string>{"delete", "2"},
              std::vector<std::string>{"list"}, std::vector<std::string>{"export"},
              std::vector<std::string>{"check"}}) {
            std::vector<std::string> full = {"--dir", f.dir()};
            full.insert(full.end(), args.begin(), args.end());
            const auto r = runTool(full);
            EXPECT_EQ(r.exitCode, 1) << args[0];
            EXPECT_TRUE(r.out.empty()) << args[0] << ": " << r.out;
            EXPECT_NE(r.err.find("the game is running"), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("process " + std::to_string(game.pid())), std::string::npos) << r.err;
        }
        EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);
        EXPECT_TRUE(filesStartingWith(f.path(), "OnLoad.dat.").empty());
    }
    // The game gone, the same import goes through.
    const auto r = runTool({"--dir", f.dir(), "import", (f / "words.txt").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(plainLibrary(f.path()), "first;1:cat;Animal:dog;Pet:owl;Night bird:sun;star:kiwi;fruit:last;2:");
}

TEST(ToolSafety, AKilledImportLeavesTheOldLibraryWhole) {
    TempFolder f("killed");
    writeBytes(f / "words.txt", wordList(200000));
    // The library an uninterrupted import gives.
    TempFolder reference("reference");
    writePlainLibrary(reference.path(), kLibrary);
    ASSERT_EQ(runTool({"--dir", reference.dir(), "import", (f / "words.txt").string()}).exitCode, 0);
    const std::string complete = readBytes(reference / "OnLoad.dat");
    writePlainLibrary(f.path(), kLibrary);
    const std::string old = readBytes(f / "OnLoad.dat");
    ASSERT_NE(old, complete);

    // Killed at any moment: the old library or the whole new one, nothing between.
    TempFolder elsewhere("output");
    for (int delayMs : {50, 250}) {
        const pid_t pid = startTool({"--dir", f.dir(), "import", (f / "words.txt").string()}, elsewhere / "out");
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const std::string now = readBytes(f / "OnLoad.dat");
        EXPECT_TRUE(now == old || now == complete) << "killed after " << delayMs << " ms: " << now.size() << " bytes";
        writeBytes(f / "OnLoad.dat", old);
    }

    // Killed while the new library is being written: the old one stays.
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_GE(::inotify_add_watch(fd, f.dir().c_str(), IN_MODIFY), 0);
    int killedWhileWriting = 0;
    for (int nth : {1, 2, 4}) {
        drain(fd);
        const pid_t pid = startTool({"--dir", f.dir(), "import", (f / "words.txt").string()}, elsewhere / "out");
        const bool killed = killAtChange(pid, fd, nth);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const std::string now = readBytes(f / "OnLoad.dat");
        ASSERT_TRUE(now == old || now == complete)
            << "killed at change " << nth << ": a cut library of " << now.size() << " bytes";
        if (killed && WIFSIGNALED(status)) ++killedWhileWriting;
        writeBytes(f / "OnLoad.dat", old);
    }
    EXPECT_GT(killedWhileWriting, 0) << "no kill landed while the library was being written";

    // A kill leaves no lock behind: the next import runs to its end, and
    // takes away the temporary file the killed run left.
    drain(fd);
    const pid_t last = startTool({"--dir", f.dir(), "import", (f / "words.txt").string()}, elsewhere / "out");
    ASSERT_TRUE(killAtChange(last, fd, 1));
    ::waitpid(last, nullptr, 0);
    ::close(fd);
    EXPECT_EQ(filesStartingWith(f.path(), "OnLoad.dat.").size(), 1u) << "the kill left no temporary file";

    const auto r = runTool({"--dir", f.dir(), "import", (f / "words.txt").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), complete);
    EXPECT_TRUE(filesStartingWith(f.path(), "OnLoad.dat.").empty());
}
