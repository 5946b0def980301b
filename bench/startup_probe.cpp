// startup_probe: starts a program on the X display of $DISPLAY and reports
// how long its first window took to appear and to be painted, and its peak
// resident memory a moment later.
//
// Usage: startup_probe <settle ms> <program> [args...]
// Prints: <ms to map> <ms to first paint> <peak RSS in KiB>
// The first paint is the first moment the middle of the mapped window no
// longer shows the root window's black (run Xvfb with -br).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

long peakRssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

bool painted(Display* d, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable) return false;
    XImage* img = XGetImage(d, DefaultRootWindow(d), a.x + a.width / 2 - 8, a.y + a.height / 2 - 8, 16, 16,
                            AllPlanes, ZPixmap);
    if (img == nullptr) return false;
    bool any = false;
    for (int y = 0; y < 16 && !any; ++y) {
        for (int x = 0; x < 16 && !any; ++x) any = (XGetPixel(img, x, y) & 0xFFFFFF) != 0;
    }
    XDestroyImage(img);
    return any;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe <settle ms> <program> [args...]\n");
        return 2;
    }
    const int settle = std::atoi(argv[1]);
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 2;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1, shown = -1;
    Window window = 0;
    while (shown < 0 && nowMs() - start < 30000) {
        while (XPending(d) > 0) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == MapNotify && window == 0) {
                window = ev.xmap.window;
                mapped = nowMs() - start;
            }
        }
        if (window != 0 && painted(d, window)) {
            shown = nowMs() - start;
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "startup_probe: the program ended before it showed a window\n");
            return 1;
        }
        usleep(500);
    }
    usleep(static_cast<useconds_t>(settle) * 1000);
    const long rss = peakRssKiB(child);
    kill(child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300 && waitpid(child, &status, WNOHANG) != child; ++i) usleep(10000);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    XCloseDisplay(d);
    if (shown < 0) {
        std::fprintf(stderr, "startup_probe: no window within 30 s\n");
        return 1;
    }
    std::printf("%.1f %.1f %ld\n", mapped, shown, rss);
    return 0;
}
