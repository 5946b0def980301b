#include "tests/e2e/Harness.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "tests/e2e/SoundServer.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

extern char** environ;

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- Files -----------------------------------------------------------------

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string scramble(const std::string& plain) {
    std::string out = plain;
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] = static_cast<char>((static_cast<unsigned char>(out[k]) + (k % 10) + 1) & 0xFF);
    }
    return out;
}

std::string unscramble(const std::string& scrambled) {
    std::string out = scrambled;
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] = static_cast<char>((static_cast<unsigned char>(out[k]) + 256 - (k % 10) - 1) & 0xFF);
    }
    return out;
}

std::string printable(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out + "\" (" + std::to_string(bytes.size()) + " bytes)";
}

TempDir::TempDir() {
    char pattern[] = "/tmp/tarvik-e2e-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
    if (path_.empty() || std::getenv("TARVIK_E2E_KEEP") != nullptr) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

// ---- Processes -------------------------------------------------------------

std::vector<std::string> makeEnvironment(const Environment& changes) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        auto eq = entry.find('=');
        if (eq == std::string::npos) continue;
        env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [key, value] : changes) {
        if (value.empty()) {
            env.erase(key);
        } else {
            env[key] = value;
        }
    }
    std::vector<std::string> out;
    for (const auto& [key, value] : env) out.push_back(key + "=" + value);
    return out;
}

std::string findOnPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : "";
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string d;
    while (std::getline(dirs, d, ':')) {
        if (d.empty()) continue;
        std::string candidate = d + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

namespace {

struct ExecArgs {
    std::vector<std::string> argvStore;
    std::vector<std::string> envStore;
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string program;

    ExecArgs(const std::vector<std::string>& args, const Environment& env)
        : argvStore(args), envStore(makeEnvironment(env)) {
        for (auto& a : argvStore) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : envStore) envp.push_back(e.data());
        envp.push_back(nullptr);
        program = args.empty() ? "" : findOnPath(args[0]);
    }
};

}  // namespace

Process::~Process() { kill(); }

bool Process::start(const std::vector<std::string>& argv, const Environment& env,
                    const fs::path& workDir, const fs::path& stdoutPath,
                    const fs::path& stderrPath, const std::string& asUser) {
    Environment userEnv = env;
    struct passwd* account = nullptr;
    if (!asUser.empty()) {
        account = getpwnam(asUser.c_str());
        if (account == nullptr) return false;
        // A private HOME the caller chose stays; otherwise the account's own.
        if (userEnv.count("HOME") == 0) userEnv["HOME"] = account->pw_dir;
        userEnv["USER"] = account->pw_name;
        userEnv["LOGNAME"] = account->pw_name;
    }
    ExecArgs a(argv, userEnv);
    if (a.program.empty()) return false;
    const uid_t uid = account ? account->pw_uid : 0;
    const gid_t gid = account ? account->pw_gid : 0;
    const unsigned long long fileSizeLimit = fileSizeLimit_;
    fileSizeLimit_ = 0;
    finished_ = false;
    status_ = 0;
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);   // never outlive a crashed test
        if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
        int in = open("/dev/null", O_RDONLY);
        int out = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in >= 0) dup2(in, 0);
        if (out >= 0) dup2(out, 1);
        if (err >= 0) dup2(err, 2);
        if (account != nullptr &&
            (initgroups(asUser.c_str(), gid) != 0 || setgid(gid) != 0 || setuid(uid) != 0))
            _exit(125);
        if (fileSizeLimit > 0) {
            // As `ulimit -f` would; the signal the limit raises is left at its
            // default, so only the program itself can keep it from killing.
            struct rlimit limit {};
            limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(fileSizeLimit);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(124);
            ::signal(SIGXFSZ, SIG_DFL);
        }
        execve(a.program.c_str(), a.argv.data(), a.envp.data());
        _exit(127);
    }
    setpgid(child, child);
    pid_ = child;
    return true;
}

bool giveToUser(const fs::path& path, const std::string& user) {
    const struct passwd* account = getpwnam(user.c_str());
    if (account == nullptr) return false;
    std::error_code ec;
    bool ok = lchown(path.c_str(), account->pw_uid, account->pw_gid) == 0;
    if (fs::is_directory(path, ec) && !fs::is_symlink(path, ec)) {
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            ok = lchown(entry.path().c_str(), account->pw_uid, account->pw_gid) == 0 && ok;
    }
    return ok && !ec;
}

bool Process::reap(bool block) {
    if (pid_ <= 0 || finished_) return finished_;
    int status = 0;
    pid_t r = waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r == pid_) {
        finished_ = true;
        status_ = status;
        ::kill(-pid_, SIGKILL);   // whatever it left behind in its group
    }
    return finished_;
}

bool Process::running() { return pid_ > 0 && !reap(false); }

bool Process::wait(std::chrono::milliseconds timeout) {
    return waitUntil([this] { return pid_ <= 0 || reap(false); }, timeout, 10ms);
}

void Process::signal(int sig) {
    if (running()) ::kill(pid_, sig);
}

void Process::kill() {
    if (pid_ <= 0 || finished_) return;
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    reap(true);
}

void Process::reset() {
    kill();
    pid_ = -1;
    finished_ = false;
    status_ = 0;
}

std::string Process::describeEnd() const {
    if (!finished_) return "still running";
    if (WIFEXITED(status_)) return "exit code " + std::to_string(WEXITSTATUS(status_));
    if (WIFSIGNALED(status_)) return std::string("killed by signal ") + strsignal(WTERMSIG(status_));
    return "ended oddly";
}

RunResult run(const std::vector<std::string>& argv, const Environment& env,
              std::chrono::milliseconds timeout) {
    RunResult result;
    ExecArgs a(argv, env);
    if (a.program.empty()) {
        result.err = "not found: " + (argv.empty() ? std::string() : argv[0]);
        return result;
    }
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0) return result;
    if (pipe(errPipe) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        int in = open("/dev/null", O_RDONLY);
        if (in >= 0) dup2(in, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        execve(a.program.c_str(), a.argv.data(), a.envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (child < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    const auto deadline = Clock::now() + timeout;
    bool outOpen = true, errOpen = true;
    while ((outOpen || errOpen) && Clock::now() < deadline) {
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (poll(fds, 2, std::max(left, 1)) < 0 && errno != EINTR) break;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            bool& open = i == 0 ? outOpen : errOpen;
            if (!open || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n <= 0) {
                open = false;
            } else {
                (i == 0 ? result.out : result.err).append(buf, static_cast<std::size_t>(n));
            }
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    bool done = waitUntil([&] { return waitpid(child, &status, WNOHANG) == child; },
                          std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::max(deadline - Clock::now(), Clock::duration(50ms))),
                          5ms);
    if (!done) {
        ::kill(-child, SIGKILL);
        waitpid(child, &status, 0);
        return result;
    }
    result.finished = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        if (condition()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

void sleepFor(std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }

// ---- The X server ----------------------------------------------------------

namespace {
Display* dpy(void* p) { return static_cast<Display*>(p); }
int ignoreXErrors(Display*, XErrorEvent*) { return 0; }
}  // namespace

namespace {
// A display number is taken while the process named in its lock file lives;
// Xvfb itself clears a stale lock.
bool displayTaken(int n) {
    const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    if (!fs::exists(lock)) return false;
    const std::string text = readFile(lock);
    const long pid = std::strtol(text.c_str(), nullptr, 10);
    return pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}
}  // namespace

XServer::~XServer() { stop(); }

bool XServer::start(const fs::path& logDir, std::string& error) {
    const std::string xvfb = findOnPath("Xvfb");
    if (xvfb.empty()) {
        error = "Xvfb is not installed (package xvfb)";
        return false;
    }
    XSetErrorHandler(ignoreXErrors);
    const int pid = static_cast<int>(getpid());
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int n = 100 + (pid * 7 + attempt) % 800;
        const std::string number = std::to_string(n);
        if (displayTaken(n)) continue;
        const std::string name = ":" + number;
        if (!server_.start({xvfb, name, "-screen", "0", screen_, "-nolisten", "tcp"}, {},
                           logDir, logDir / ("xvfb" + number + ".out"),
                           logDir / ("xvfb" + number + ".err"))) {
            error = "could not start Xvfb";
            return false;
        }
        Display* d = nullptr;
        waitUntil(
            [&] {
                if (!server_.running()) return true;
                d = XOpenDisplay(name.c_str());
                return d != nullptr;
            },
            10s, 20ms);
        // Xvfb takes the number's lock file before it listens: a server that
        // answers while the lock names another process is not this one.
        if (d != nullptr) {
            const long lockPid = std::strtol(readFile("/tmp/.X" + number + "-lock").c_str(), nullptr, 10);
            if (lockPid != static_cast<long>(server_.pid()) || !server_.running()) {   // another server answered
                XCloseDisplay(d);
                d = nullptr;
            }
        }
        if (d == nullptr) {
            server_.kill();
            server_.reset();
            continue;   // taken meanwhile, or failed: try the next number
        }
        display_ = name;
        xdisplay_ = d;
        int opcode = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (XkbQueryExtension(d, &opcode, &xkbEventBase_, &errorBase, &major, &minor)) {
            XkbSelectEvents(d, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
        }
        XSync(d, False);
        return true;
    }
    error = "no free display number for Xvfb";
    return false;
}

bool XServer::mergeResources(const std::string& resources, const fs::path& dir, std::string& error) {
    if (findOnPath("xrdb").empty()) {
        error = "xrdb is not installed (package x11-xserver-utils)";
        return false;
    }
    const fs::path file = dir / "xresources";
    writeFile(file, resources + "\n");
    // Without the C preprocessor: the lines go in as they are.
    const RunResult r = run({"xrdb", "-nocpp", "-merge", file.string()}, {{"DISPLAY", display_}});
    if (!r.finished || r.exitCode != 0) {
        error = "xrdb -merge failed: " + r.err;
        return false;
    }
    return true;
}

void XServer::stop() {
    if (xdisplay_ != nullptr) {
        XCloseDisplay(dpy(xdisplay_));
        xdisplay_ = nullptr;
    }
    // SIGTERM lets the server remove its lock file and socket.
    server_.signal(SIGTERM);
    if (!server_.wait(3s)) server_.kill();
}

QImage XServer::screenshot() {
    if (xdisplay_ == nullptr) return {};
    Display* d = dpy(xdisplay_);
    const Window root = DefaultRootWindow(d);
    XWindowAttributes attrs;
    XGetWindowAttributes(d, root, &attrs);
    XImage* img = XGetImage(d, root, 0, 0, static_cast<unsigned>(attrs.width),
                            static_cast<unsigned>(attrs.height), AllPlanes, ZPixmap);
    if (img == nullptr) return {};
    QImage out(attrs.width, attrs.height, QImage::Format_RGB32);
    const bool direct = img->bits_per_pixel == 32 && img->red_mask == 0xFF0000 &&
                        img->green_mask == 0xFF00 && img->blue_mask == 0xFF &&
                        img->byte_order == LSBFirst;
    for (int y = 0; y < attrs.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (direct) {
            const auto* src = reinterpret_cast<const std::uint32_t*>(img->data + y * img->bytes_per_line);
            for (int x = 0; x < attrs.width; ++x) line[x] = 0xFF000000u | (src[x] & 0xFFFFFFu);
        } else {
            for (int x = 0; x < attrs.width; ++x) {
                unsigned long p = XGetPixel(img, x, y);
                line[x] = qRgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                               static_cast<int>(p & 0xFF));
            }
        }
    }
    XDestroyImage(img);
    return out;
}

std::string XServer::describeWindows() {
    if (xdisplay_ == nullptr) return "no display";
    Display* d = dpy(xdisplay_);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::string out;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return "no tree";
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a)) continue;
        char* name = nullptr;
        XFetchName(d, children[i], &name);
        if (name == nullptr && a.map_state != IsViewable) continue;   // toolkit helpers
        out += "\n  \"" + std::string(name != nullptr ? name : "") + "\" " +
               std::to_string(children[i]) + " at " + std::to_string(a.x) + "," + std::to_string(a.y) +
               " " + std::to_string(a.width) + "x" + std::to_string(a.height) +
               (a.map_state == IsViewable ? " shown" : " hidden");
        if (name != nullptr) XFree(name);
    }
    if (children != nullptr) XFree(children);
    return out.empty() ? "no windows" : out;
}

void XServer::requestClose(const std::string& windowId) {
    if (xdisplay_ == nullptr) return;
    Display* d = dpy(xdisplay_);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = std::strtoul(windowId.c_str(), nullptr, 10);
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, ev.xclient.window, False, NoEventMask, &ev);
    XFlush(d);
}

bool XServer::windowManagerRunning() {
    if (xdisplay_ == nullptr) return false;
    Display* d = dpy(xdisplay_);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False), 0, 1,
                           False, XA_WINDOW, &type, &format, &items, &after, &data) == Success &&
        type == XA_WINDOW && items == 1;
    if (data != nullptr) XFree(data);
    return found;
}

int XServer::bells() {
    if (xdisplay_ == nullptr) return bells_;
    Display* d = dpy(xdisplay_);
    XSync(d, False);
    while (XPending(d) > 0) {
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type == xkbEventBase_ &&
            reinterpret_cast<XkbEvent*>(&ev)->any.xkb_type == XkbBellNotify) {
            ++bells_;
        }
    }
    return bells_;
}

bool XServer::waitForBells(int n, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return bells() >= n; }, timeout, 20ms);
}

// ---- xdotool ---------------------------------------------------------------

RunResult Xdo::xdotool(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return run(argv, {{"DISPLAY", display_}}, 10s);
}

std::vector<std::string> Xdo::search(const std::string& nameRegex, bool onlyVisible) const {
    std::vector<std::string> args = {"search"};
    if (onlyVisible) args.push_back("--onlyvisible");
    args.push_back("--name");
    args.push_back(nameRegex);
    std::vector<std::string> ids;
    std::stringstream lines(xdotool(args).out);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty()) ids.push_back(line);
    }
    return ids;
}

std::optional<Geometry> Xdo::geometry(const std::string& windowId) const {
    RunResult r = xdotool({"getwindowgeometry", "--shell", windowId});
    if (!r.finished || r.exitCode != 0) return std::nullopt;
    std::map<std::string, int> values;
    std::stringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        values[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
    }
    if (!values.count("X") || !values.count("WIDTH")) return std::nullopt;
    return Geometry{values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

void Xdo::moveTo(int x, int y) const {
    xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

void Xdo::click(int x, int y) const {
    xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.03", "click", "1"});
}

void Xdo::mouseDown(int x, int y) const {
    xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.03", "mousedown", "1"});
}

void Xdo::mouseUp() const { xdotool({"mouseup", "1"}); }

void Xdo::key(const std::string& keys, int repeat) const {
    xdotool({"key", "--delay", "40", "--repeat", std::to_string(repeat), keys});
}

void Xdo::type(const std::string& text) const { xdotool({"type", "--delay", "40", text}); }

void Xdo::focus(const std::string& windowId) const { xdotool({"windowfocus", windowId}); }

std::string Xdo::focused() const {
    const RunResult r = xdotool({"getwindowfocus"});
    if (!r.finished || r.exitCode != 0) return {};
    std::string id = r.out;
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

// ---- Screen checks ---------------------------------------------------------

QImage sourceBitmap(int number) {
    static std::map<int, QImage> cache;
    auto it = cache.find(number);
    if (it != cache.end()) return it->second;
    const std::string path =
        std::string(TARVIK_SOURCE_DIR) + "/resources/bitmaps/" + std::to_string(number) + ".bmp";
    QImage img(QString::fromStdString(path), "BMP");
    if (!img.isNull()) img = img.convertToFormat(QImage::Format_RGB32);
    cache[number] = img;
    return img;
}

namespace {
bool close(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
}  // namespace

double matchFraction(const QImage& screen, int left, int top, const QImage& expected,
                     int tolerance, int step) {
    if (expected.isNull() || screen.isNull()) return 0.0;
    int total = 0, good = 0;
    for (int y = 0; y < expected.height(); y += step) {
        for (int x = 0; x < expected.width(); x += step) {
            ++total;
            const int sx = left + x, sy = top + y;
            if (sx < 0 || sy < 0 || sx >= screen.width() || sy >= screen.height()) continue;
            if (close(screen.pixel(sx, sy), expected.pixel(x, y), tolerance)) ++good;
        }
    }
    return total == 0 ? 0.0 : static_cast<double>(good) / total;
}

double colourFraction(const QImage& screen, int left, int top, int width, int height,
                      QRgb colour, int tolerance) {
    int total = 0, good = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            ++total;
            if (x >= 0 && y >= 0 && x < screen.width() && y < screen.height() &&
                close(screen.pixel(x, y), colour, tolerance)) {
                ++good;
            }
        }
    }
    return total == 0 ? 0.0 : static_cast<double>(good) / total;
}

int differingPixels(const QImage& a, const QImage& b, int left, int top, int width, int height,
                    int tolerance) {
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const bool inA = x >= 0 && y >= 0 && x < a.width() && y < a.height();
            const bool inB = x >= 0 && y >= 0 && x < b.width() && y < b.height();
            if (!inA || !inB || !close(a.pixel(x, y), b.pixel(x, y), tolerance)) ++n;
        }
    }
    return n;
}

// ---- The program -----------------------------------------------------------

ScreenRect controlOnScreen(int id) {
    const ui::ControlSpec* row = ui::findControl(id);
    if (row == nullptr) return {};
    int originX = kMainLeft, originY = kMainTop;
    if (row->parent == platform::Window::AddPuzzle) {
        originX = kAddLeft;
        originY = kAddTop;
    } else if (row->parent == platform::Window::Message) {
        originX = kMessageLeft;
        originY = kMessageTop;
    }
    ScreenRect r{originX + row->left, originY + row->top, row->width, row->height};
    if (row->kind == ui::ControlKind::Picture) {
        if (const ui::BitmapSpec* b = ui::findBitmap(row->bitmap)) {
            r.width = b->width;
            r.height = b->height;
        }
    }
    return r;
}

ProgramTest::ProgramTest() = default;
ProgramTest::~ProgramTest() = default;

void ProgramTest::SetUp() {
    if (findOnPath("xdotool").empty()) {
        GTEST_FAIL() << "xdotool is not installed (package xdotool); the end-to-end tests need it";
    }
    if (findOnPath("Xvfb").empty()) {
        GTEST_FAIL() << "Xvfb is not installed (package xvfb); the end-to-end tests need it";
    }
    ASSERT_FALSE(dir_.path().empty()) << "no temporary directory";
    std::string error;
    x_.setScreen(screen_);
    ASSERT_TRUE(x_.start(dir_.path(), error)) << error;
    if (!xResources_.empty()) {
        ASSERT_TRUE(x_.mergeResources(xResources_, dir_.path(), error)) << error;
    }
    xdo_.emplace(x_.display());
    if (withWindowManager_) {
        const std::string openbox = findOnPath("openbox");
        ASSERT_FALSE(openbox.empty()) << "openbox is not installed (package openbox); the window-manager tests need it";
        fs::create_directories(dir_.path() / "wm-home");
        ASSERT_TRUE(windowManager_.start({openbox, "--sm-disable"},
                                         {{"DISPLAY", x_.display()}, {"HOME", (dir_.path() / "wm-home").string()},
                                          {"XDG_CONFIG_HOME", (dir_.path() / "wm-home").string()}},
                                         dir_.path(), dir_.path() / "openbox.out", dir_.path() / "openbox.err"));
        ASSERT_TRUE(waitUntil([&] { return x_.windowManagerRunning() || !windowManager_.running(); }, 10s) &&
                    windowManager_.running())
            << "openbox did not start: " << readFile(dir_.path() / "openbox.err");
    }
    ASSERT_FALSE(soundDir_.path().empty()) << "no temporary directory for the sound server";
    sound_ = std::make_unique<SoundServer>();
    ASSERT_TRUE(sound_->start(soundDir_.path(), error)) << error;
    recorder_ = std::make_unique<SoundRecorder>();
    ASSERT_TRUE(recorder_->start(sound_->address(), error)) << error;
    programPath_ = dir_.path() / "tarvik-kxv";
    std::error_code ec;
    fs::copy_file(TARVIK_BINARY, programPath_, fs::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << "cannot copy " << TARVIK_BINARY << ": " << ec.message();
    fs::permissions(programPath_, fs::perms::owner_all, fs::perm_options::add);
    fs::create_directories(dir_.path() / "home");
    fs::create_directories(dir_.path() / "runtime");
    fs::permissions(dir_.path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
}

void ProgramTest::TearDown() {
    // On failure: what was on the display, and the last screen beside the build.
    if (HasFailure() && !x_.display().empty()) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name();
        std::fprintf(stderr, "Windows at the end of %s:%s\nThe program %s.\n", name.c_str(),
                     x_.describeWindows().c_str(), program_.describeEnd().c_str());
        x_.screenshot().save(QString::fromStdString(std::string(TARVIK_E2E_OUTPUT_DIR) + "/failed-" +
                                                    name + ".png"));
        // And what was heard.
        if (recorder_) recorder_->save(fs::path(TARVIK_E2E_OUTPUT_DIR) / ("failed-" + name + ".wav"));
    }
    program_.kill();
    if (recorder_) recorder_->stop();
    if (sound_) sound_->stop();
    windowManager_.kill();
    x_.stop();
}

Environment ProgramTest::programEnvironment() const {
    const fs::path home = dir_.path() / "home";
    return {
        {"DISPLAY", x_.display()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"HOME", home.string()},
        {"XDG_CONFIG_HOME", (home / ".config").string()},
        {"XDG_DATA_HOME", (home / ".local/share").string()},
        {"XDG_CACHE_HOME", (home / ".cache").string()},
        {"XDG_RUNTIME_DIR", (dir_.path() / "runtime").string()},
        {"XDG_DATA_DIRS", "/usr/local/share:/usr/share"},
        {"PULSE_SERVER", sound_ ? sound_->address() : std::string()},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus"},
        {"WAYLAND_DISPLAY", ""},
        {"SESSION_MANAGER", ""},
        {"XAUTHORITY", ""},
    };
}

void ProgramTest::launch(const Environment& extra, const std::string& asUser) {
    program_.reset();
    Environment env = programEnvironment();
    for (const auto& [k, v] : extra) env[k] = v;
    ++launches_;
    const std::string tag = "run" + std::to_string(launches_);
    ASSERT_TRUE(program_.start({programPath_.string()}, env, dir_.path(),
                               dir_.path() / (tag + ".out"), dir_.path() / (tag + ".err"), asUser))
        << "cannot start " << programPath_;
}

std::string ProgramTest::waitForMainWindow(std::chrono::milliseconds timeout) {
    std::string id;
    waitUntil(
        [&] {
            if (!program_.running()) return true;
            auto ids = xdo_->search("^Tarvik_KXv$", true);
            if (ids.empty()) return false;
            id = ids.front();
            return true;
        },
        timeout, 50ms);
    if (!id.empty()) settledScreenshot();
    return id;
}

std::string ProgramTest::waitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
    std::string id;
    waitUntil(
        [&] {
            auto ids = xdo_->search("^" + title + "$", true);
            if (ids.empty()) return false;
            id = ids.front();
            return true;
        },
        timeout, 50ms);
    return id;
}

bool ProgramTest::windowVisible(const std::string& title) const {
    return !xdo_->search("^" + title + "$", true).empty();
}

bool ProgramTest::waitForFocus(const std::string& windowId, std::chrono::milliseconds timeout) {
    return !windowId.empty() && waitUntil([&] { return xdo_->focused() == windowId; }, timeout, 20ms);
}

bool ProgramTest::clickToFocus(const std::string& windowId, int x, int y) {
    xdo_->click(x, y);
    return waitForFocus(windowId);
}

void ProgramTest::clickControl(int id) {
    const ScreenRect r = controlOnScreen(id);
    xdo_->click(r.centreX(), r.centreY());
}

bool ProgramTest::clickField(int id) {
    const ui::ControlSpec* row = ui::findControl(id);
    if (row == nullptr) return false;
    const std::string title = row->parent == platform::Window::AddPuzzle ? "Add_Puzzle"
                              : row->parent == platform::Window::Message ? "Message_KXv"
                                                                         : "Tarvik_KXv";
    const auto ids = xdo_->search("^" + title + "$", true);
    if (ids.empty()) return false;
    clickControl(id);
    return waitForFocus(ids.front());
}

bool ProgramTest::typeInto(int id, const std::string& text) {
    if (!clickField(id)) return false;
    xdo_->type(text);
    return true;
}

void ProgramTest::clickTile(char letter) { clickControl(ui::id::LetterTile(letter - 'A')); }

bool ProgramTest::tileShown(const QImage& shot, char letter) {
    const ScreenRect r = controlOnScreen(ui::id::LetterTile(letter - 'A'));
    return showsPicture(shot, ui::letterTileBitmap(letter - 'A'), r.left, r.top, 0.9);
}

bool ProgramTest::waitForTileGone(char letter, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return !tileShown(x_.screenshot(), letter); }, timeout, 40ms);
}

bool ProgramTest::startNewGame(std::chrono::milliseconds timeout) {
    const ScreenRect line = controlOnScreen(ui::id::PhraseDisplay);
    const QImage before = settledScreenshot();
    clickControl(ui::id::NewGameButton);
    return waitUntil([&] {
        return differingPixels(before, x_.screenshot(), line.left, line.top, line.width, line.height) > 40;
    }, timeout, 40ms);
}

bool ProgramTest::waitForGameEnd(std::chrono::milliseconds timeout) {
    const ScreenRect win = controlOnScreen(ui::id::WinPictureLeft);
    const ScreenRect loss = controlOnScreen(ui::id::LossFigure);
    const ScreenRect altLoss = controlOnScreen(ui::id::AltLossFigure);
    return waitUntil([&] {
        const QImage shot = x_.screenshot();
        return showsPicture(shot, 3750, win.left, win.top, 0.9) ||
               showsPicture(shot, ui::findControl(ui::id::LossFigure)->bitmap, loss.left, loss.top, 0.9) ||
               showsPicture(shot, ui::findControl(ui::id::AltLossFigure)->bitmap, altLoss.left, altLoss.top, 0.9);
    }, timeout, 40ms);
}

RunResult ProgramTest::runAs(const std::string& account, const std::vector<std::string>& argv,
                             const fs::path& workDir, const Environment& extra,
                             std::chrono::milliseconds timeout) {
    Environment env = programEnvironment();
    for (const auto& [k, v] : extra) env[k] = v;
    const std::string tag = "cmd" + std::to_string(++commands_);
    const fs::path out = dir() / (tag + ".out");
    const fs::path err = dir() / (tag + ".err");
    RunResult r;
    Process p;
    if (!p.start(argv, env, workDir, out, err, account)) return r;
    r.finished = p.wait(timeout);
    r.exitCode = p.exitCode();
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

void ProgramTest::launchWithFileSizeLimit(unsigned long long bytes, const Environment& extra) {
    program_.reset();
    program_.limitFileSize(bytes);
    launch(extra);
}

bool ProgramTest::caughtUp(std::chrono::milliseconds timeout) {
    const auto ids = xdo_->search("^Tarvik_KXv$", true);
    if (ids.empty()) return false;
    const std::string main = ids.front();
    // The keys go to the window with the focus: the main window itself.
    xdo_->focus(main);
    for (const auto& step : {std::pair<const char*, int>{"Left", -2}, {"Right", 2}}) {
        const char* key = step.first;
        const int dx = step.second;
        const auto before = xdo_->geometry(main);
        if (!before) return false;
        const int bells = x_.bells();
        xdo_->key(key);
        const bool seen = waitUntil([&] {
            const auto now = xdo_->geometry(main);
            return x_.bells() > bells || (now && now->x == before->x + dx && now->y == before->y);
        }, timeout);
        if (!seen) return false;
    }
    return true;
}

bool ProgramTest::exitThroughButton(std::chrono::milliseconds timeout) {
    clickControl(ui::id::ExitButton);
    return program_.wait(timeout);
}

QImage ProgramTest::settledScreenshot() {
    QImage last = x_.screenshot();
    const auto deadline = Clock::now() + 3s;
    while (Clock::now() < deadline) {
        sleepFor(60ms);   // "settled": two shots this far apart are alike
        QImage next = x_.screenshot();
        if (next == last) break;
        last = next;
    }
    // For looking at a run: TARVIK_E2E_SHOTS=<dir> keeps every settled screen.
    if (const char* shots = std::getenv("TARVIK_E2E_SHOTS")) {
        static int n = 0;
        last.save(QString("%1/settled-%2.png").arg(shots).arg(++n, 3, 10, QChar('0')));
    }
    return last;
}

bool ProgramTest::showsPicture(const QImage& shot, int bitmap, int left, int top, double threshold) {
    return matchFraction(shot, left, top, sourceBitmap(bitmap), 12, 2) >= threshold;
}

bool ProgramTest::waitForPicture(int bitmap, int left, int top, std::chrono::milliseconds timeout,
                                 double threshold) {
    return waitUntil([&] { return showsPicture(x_.screenshot(), bitmap, left, top, threshold); },
                     timeout, 40ms);
}

bool installBuild(const fs::path& prefix, const fs::path& destDir, std::string& error) {
    std::vector<std::string> argv;
    if (!destDir.empty()) argv = {"env", "DESTDIR=" + destDir.string()};
    for (const char* a : {TARVIK_CMAKE, "--install", TARVIK_BUILD_DIR, "--prefix"}) argv.push_back(a);
    argv.push_back(prefix.string());
    const RunResult r = run(argv, {}, 120s);
    if (r.finished && r.exitCode == 0) return true;
    error = r.out + r.err;
    return false;
}

void makeRootsReadOnly(const fs::path& root) {
    constexpr auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(root, ec)) {
        if (::lchown(e.path().c_str(), 0, 0) != 0) ADD_FAILURE() << "cannot give " << e.path() << " to root";
        if (!e.is_symlink()) fs::permissions(e.path(), writable, fs::perm_options::remove);
    }
    if (::lchown(root.c_str(), 0, 0) != 0) ADD_FAILURE() << "cannot give " << root << " to root";
    fs::permissions(root, writable, fs::perm_options::remove);
}

std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0) continue;
        std::ostringstream d;
        d << std::oct << st.st_mode << std::dec << " " << st.st_uid << ":" << st.st_gid << " " << st.st_size
          << " " << st.st_mtime;
        if (S_ISREG(st.st_mode)) d << " " << std::hash<std::string>{}(readFile(it->path()));
        out[fs::relative(it->path(), root).string()] = d.str();
    }
    return out;
}

void ProgramTest::writeLibrary(const std::string& plain) {
    writeFile(file("OnLoad.dat"), scramble(plain));
}

}  // namespace e2e
