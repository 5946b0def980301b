// Code run in another process, as a second copy of the game or another user
// would run it: once to its end, or kept alive holding something (a folder's
// lock) while the test looks on.
#pragma once

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace testing_support {

// The exit code of a child that did not end by _exit (killed, say).
inline constexpr int kChildDidNotExit = 99;

inline int exitCodeOf(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return kChildDidNotExit;
    return WIFEXITED(status) ? WEXITSTATUS(status) : kChildDidNotExit;
}

// Runs body in a child process and returns its exit code; what body puts in
// `said` comes back in *said.
inline int inChild(const std::function<int(std::string& said)>& body, std::string* said) {
    int out[2];
    if (::pipe(out) != 0) return kChildDidNotExit;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        std::string text;
        const int code = body(text);
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(out[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(code);
    }
    ::close(out[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    if (said != nullptr) *said = text;
    return pid < 0 ? kChildDidNotExit : exitCodeOf(pid);
}

inline int inChild(const std::function<int()>& body) {
    return inChild([&](std::string&) { return body(); }, nullptr);
}

// A child process that runs take, then holds on (to the lock it took, say)
// until released, killed or destroyed. The constructor returns once take has
// run.
class HoldingProcess {
public:
    explicit HoldingProcess(const std::function<bool()>& take) {
        if (::pipe(ready_) != 0) return;
        if (::pipe(done_) != 0) {
            closeAll();
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready_[0]);
            ::close(done_[1]);
            char c = take() ? '1' : '0';
            (void)!::write(ready_[1], &c, 1);
            // Until released, or the test process ends and the pipe with it.
            (void)!::read(done_[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready_[1]);
        ::close(done_[0]);
        ready_[1] = done_[0] = -1;
        char c = 0;
        taken_ = pid_ > 0 && ::read(ready_[0], &c, 1) == 1 && c == '1';
    }
    ~HoldingProcess() { release(); }
    HoldingProcess(const HoldingProcess&) = delete;
    HoldingProcess& operator=(const HoldingProcess&) = delete;

    // Whether take succeeded in the child.
    bool taken() const { return taken_; }
    pid_t pid() const { return pid_; }

    // Lets the child end on its own and waits for it.
    void release() {
        if (pid_ > 0) {
            (void)!::write(done_[1], "x", 1);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        closeAll();
    }

    // Ends the child at once, as a crash or a kill would, and waits for it.
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        closeAll();
    }

private:
    void closeAll() {
        for (int* fd : {&ready_[0], &ready_[1], &done_[0], &done_[1]}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }

    int ready_[2] = {-1, -1};
    int done_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool taken_ = false;
};

}  // namespace testing_support
