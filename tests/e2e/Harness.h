// Machinery for driving the real program: a private X server per test (with
// a window manager where the test asks for one), a private sound server whose
// output is recorded (SoundServer.h), the program copied into a fresh
// directory with its own files, xdotool for input, root-window screenshots
// and the puzzle file's byte shift.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <sys/types.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

// ---- Files -----------------------------------------------------------------

std::string readFile(const fs::path& p);   // empty when missing
void writeFile(const fs::path& p, const std::string& bytes);

// The on-disk form of the puzzle file: byte k shifted by (k mod 10) + 1, mod 256.
std::string scramble(const std::string& plain);
std::string unscramble(const std::string& scrambled);

// Shows bytes readably in a failure message.
std::string printable(const std::string& bytes);

// A directory under /tmp that is removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// ---- Processes -------------------------------------------------------------

using Environment = std::map<std::string, std::string>;

// The current environment with the given changes (an empty value removes).
std::vector<std::string> makeEnvironment(const Environment& changes);

// A child process in its own process group; killed and reaped on destruction.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // With a user name, the child drops root's rights and runs as that user
    // (its groups; its HOME unless env sets one) before it executes the program.
    bool start(const std::vector<std::string>& argv, const Environment& env,
               const fs::path& workDir, const fs::path& stdoutPath, const fs::path& stderrPath,
               const std::string& asUser = {});
    // The next start runs the program under this file-size limit (bytes,
    // RLIMIT_FSIZE set in the child) with SIGXFSZ at its default there.
    void limitFileSize(unsigned long long bytes) { fileSizeLimit_ = bytes; }
    bool running();
    // Waits for the end; false on timeout.
    bool wait(std::chrono::milliseconds timeout);
    void signal(int sig);
    void kill();    // SIGKILL to the whole group, then reap
    void reset();   // kill, and ready for the next start

    pid_t pid() const { return pid_; }
    bool exitedNormally() const { return finished_ && WIFEXITED(status_); }
    int exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
    int termSignal() const { return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }
    std::string describeEnd() const;

private:
    bool reap(bool block);
    pid_t pid_ = -1;
    bool finished_ = false;
    int status_ = 0;
    unsigned long long fileSizeLimit_ = 0;   // 0: none
};

struct RunResult {
    bool finished = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a command to its end, capturing its output.
RunResult run(const std::vector<std::string>& argv, const Environment& env,
              std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The ordinary account the tests run players' programs as.
inline constexpr const char* kPlayerAccount = "tarvik-player";

// Hands path, and everything below it, to the user; false when the user is unknown.
bool giveToUser(const fs::path& path, const std::string& user);

// Full path of a program on PATH, or empty.
std::string findOnPath(const std::string& name);

// Polls until the condition holds; false on timeout.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = std::chrono::milliseconds(25));

void sleepFor(std::chrono::milliseconds d);

// ---- The X server ----------------------------------------------------------

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// Xvfb at 1024x768x24 (unless set otherwise) on a free display, no window
// manager.
class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // The screen as Xvfb takes it (WIDTHxHEIGHTxDEPTH), before start().
    void setScreen(const std::string& screen) { screen_ = screen; }
    // Starts the server and waits until it accepts connections.
    bool start(const fs::path& logDir, std::string& error);
    // Merges X resources (such as "Xft.dpi: 192", as a desktop set to 200 %
    // announces it) into the server's resource database with xrdb; the
    // server keeps them while this connection to it stays open.
    bool mergeResources(const std::string& resources, const fs::path& dir, std::string& error);
    void stop();
    const std::string& display() const { return display_; }

    // The whole screen as RGB32.
    QImage screenshot();

    // Every top-level window: title, id, geometry and whether it is mapped;
    // for failure messages.
    std::string describeWindows();

    // Asks the window's client to close it, as a window manager's close does
    // (WM_DELETE_WINDOW).
    void requestClose(const std::string& windowId);

    // Whether a window manager announces itself (_NET_SUPPORTING_WM_CHECK).
    bool windowManagerRunning();

    // Counts the bells rung on the server (the default beep of a client).
    int bells();
    // Waits until at least n bells were rung in total; false on timeout.
    bool waitForBells(int n, std::chrono::milliseconds timeout);

private:
    Process server_;
    std::string screen_ = "1024x768x24";
    std::string display_;
    void* xdisplay_ = nullptr;   // Display*, kept for screenshots and bells
    int xkbEventBase_ = 0;
    int bells_ = 0;
};

// ---- xdotool ---------------------------------------------------------------

class Xdo {
public:
    explicit Xdo(std::string display) : display_(std::move(display)) {}

    // Window ids whose title matches the regular expression.
    std::vector<std::string> search(const std::string& nameRegex, bool onlyVisible) const;
    std::optional<Geometry> geometry(const std::string& windowId) const;

    void click(int x, int y) const;
    void moveTo(int x, int y) const;
    void mouseDown(int x, int y) const;
    void mouseUp() const;
    void key(const std::string& keys, int repeat = 1) const;
    void type(const std::string& text) const;
    void focus(const std::string& windowId) const;
    // The window that has the X input focus, as search gives ids; empty when none.
    std::string focused() const;

private:
    RunResult xdotool(const std::vector<std::string>& args) const;
    std::string display_;
};

// ---- Screen checks ---------------------------------------------------------

// A bitmap of the program, as committed in resources/bitmaps; null when missing.
QImage sourceBitmap(int number);

// The fraction of pixels of `expected` (sampled every `step` pixels in both
// directions) that appear on `screen` at (left, top) within `tolerance` per
// channel. Pixels off the screen count as mismatches.
double matchFraction(const QImage& screen, int left, int top, const QImage& expected,
                     int tolerance = 12, int step = 1);

// The fraction of pixels in the rectangle that are within tolerance of colour.
double colourFraction(const QImage& screen, int left, int top, int width, int height,
                      QRgb colour, int tolerance = 12);

// Pixels that differ by more than the tolerance between two images' rectangles.
int differingPixels(const QImage& a, const QImage& b, int left, int top, int width, int height,
                    int tolerance = 24);

// ---- The program -----------------------------------------------------------

// Fixed places on a 1024x768 screen.
inline constexpr int kMainLeft = 62, kMainTop = 6;
inline constexpr int kAddLeft = 162, kAddTop = -66;
inline constexpr int kMessageLeft = 234, kMessageTop = 34;

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    int centreX() const { return left + width / 2; }
    int centreY() const { return top + height / 2; }
};

// Where a control stands on the screen at start (pictures at their bitmap's size).
ScreenRect controlOnScreen(int id);

// Screen position of a point in the main window's client area.
inline int mainX(int clientX) { return kMainLeft + clientX; }
inline int mainY(int clientY) { return kMainTop + clientY; }

class SoundServer;
class SoundRecorder;

// A test with its own X server, sound server, directory and program copy.
// The sound server's null sink is recorded from SetUp to TearDown: see
// recording() and SoundServer.h for finding the cues in it.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;
    void SetUp() override;
    void TearDown() override;

    const fs::path& dir() const { return dir_.path(); }
    fs::path file(const std::string& name) const { return dir_.path() / name; }

    // The environment the program runs in (private home, the private sound
    // server).
    Environment programEnvironment() const;
    // Starts the copied program; `extra` changes the environment further.
    // With asUser, the program runs as that user (who should own dir()).
    void launch(const Environment& extra = {}, const std::string& asUser = {});
    // As launch, with the program's files limited to `bytes` each (ulimit -f).
    void launchWithFileSizeLimit(unsigned long long bytes, const Environment& extra = {});
    // Waits for the visible main window; returns its id or empty.
    std::string waitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(15));
    // Waits for a visible window with exactly this title; returns its id or empty.
    std::string waitForWindow(const std::string& title,
                              std::chrono::milliseconds timeout = std::chrono::seconds(5));
    bool windowVisible(const std::string& title) const;
    // Waits until the window has the X input focus, so that keys sent now
    // reach it; false on timeout.
    bool waitForFocus(const std::string& windowId, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Clicks the window at (x, y) and waits until it has the focus.
    bool clickToFocus(const std::string& windowId, int x, int y);
    // Clicks the middle of a control as it stands at start.
    void clickControl(int id);
    // Clicks an edit field and waits until its window has the focus: the
    // click and the keys that follow then reach the program in order, so the
    // keys go to the field.
    bool clickField(int id);
    // clickField, then types the text; false when the focus did not come.
    bool typeInto(int id, const std::string& text);
    // Clicks the tile of a letter (A..Z).
    void clickTile(char letter);
    // Whether a letter's tile shows on the screen at its place.
    bool tileShown(const QImage& shot, char letter);
    // Waits until the letter's tile has gone, as a guessed one goes; false on timeout.
    bool waitForTileGone(char letter, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Presses NewGameButton and waits until the phrase line changes from
    // what it showed before (the blanks of a drawn phrase, or the error text).
    bool startNewGame(std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Waits until the game on screen has ended: the win picture or the loss
    // figure shows.
    bool waitForGameEnd(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Proves that the program has handled every event sent to it before:
    // Left and Right, which move the main window by two pixels and back (or
    // beep while the add window is shown), each seen to take effect. A check
    // that something did not happen runs after this, not after a pause.
    bool caughtUp(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Presses ExitButton and waits for the program to end.
    bool exitThroughButton(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Waits until the screen has been quiet for a moment, then captures it.
    QImage settledScreenshot();
    // Waits until the screen shows `bitmap` at the control's place (or the
    // given position); false on timeout.
    bool waitForPicture(int bitmap, int left, int top,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5),
                        double threshold = 0.97);
    bool showsPicture(const QImage& shot, int bitmap, int left, int top, double threshold = 0.97);

    // Runs a program to its end as the account, in the program's environment
    // with `extra` changes, from workDir; its output is kept in dir() as
    // cmdN.out and cmdN.err.
    RunResult runAs(const std::string& account, const std::vector<std::string>& argv, const fs::path& workDir,
                    const Environment& extra = {}, std::chrono::milliseconds timeout = std::chrono::seconds(30));

    // Writes the scrambled library of these plain records beside the program.
    void writeLibrary(const std::string& plain);
    void writeConfig(const std::string& text) { writeFile(file("KXC_CONFIG.INI"), text); }

    // The X server's screen and the resources announced on it; a fixture
    // sets them before ProgramTest::SetUp runs.
    std::string screen_ = "1024x768x24";
    std::string xResources_;

    // What the sound server's sink played since SetUp.
    SoundRecorder& recording() { return *recorder_; }

    TempDir dir_;
    XServer x_;
    // Set in a test's constructor: run openbox on the X server, as on a
    // player's desktop. See WindowManagerTest.
    bool withWindowManager_ = false;
    Process windowManager_;
    TempDir soundDir_;
    std::unique_ptr<SoundServer> sound_;
    std::unique_ptr<SoundRecorder> recorder_;
    std::optional<Xdo> xdo_;
    Process program_;
    fs::path programPath_;
    int launches_ = 0;
    int commands_ = 0;
};

// A ProgramTest under a real window manager: openbox runs on the test's X
// server from SetUp on (its own configuration from /etc/xdg/openbox).
// Derive from it like from ProgramTest:
//   class OwnedWindows : public WindowManagerTest {};
class WindowManagerTest : public ProgramTest {
protected:
    WindowManagerTest() { withWindowManager_ = true; }
};

// ---- Installed copies ----------------------------------------------------

// `cmake --install` of the build under test into prefix, below destDir when
// one is given (as a package is built: DESTDIR); false with the output in
// error when it fails.
bool installBuild(const fs::path& prefix, const fs::path& destDir, std::string& error);

// Makes root and everything below it root's and read-only for everyone, as
// a package's files under /usr are.
void makeRootsReadOnly(const fs::path& root);

// Every entry below root with its mode, owner, size, time and a hash of its
// bytes: what an install or a run could change.
std::map<std::string, std::string> snapshot(const fs::path& root);

// ---- Shared data -----------------------------------------------------------

// Six records: the first and last never drawn, four distinct ones between.
inline constexpr const char* kSixRecords =
    "first;opening record:kiwi tea;a drink:owl;a bird:red fox;an animal:"
    "sea salt;a seasoning:last;closing record:";

// A KVTML word list of four anagrams of S, T, O, N, E: whichever is drawn,
// kAnagramLetters win it with no miss.
inline constexpr const char* kAnagramWordList = R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
  <entries>
    <entry id="0"><translation id="0"><text>stone</text><comment>A small rock</comment></translation></entry>
    <entry id="1"><translation id="0"><text>notes</text><comment>Music on paper</comment></translation></entry>
    <entry id="2"><translation id="0"><text>onset</text></translation></entry>
    <entry id="3"><translation id="0"><text>tones</text><comment>Sounds of a pitch</comment></translation></entry>
  </entries>
</kvtml>
)";
inline constexpr const char* kAnagramLetters = "STONE";

// The unlocked configuration.
inline constexpr const char* kUnlockedConfig = "Disable_Console= 0\nDisable_VCCntls= 0\n";

// The configuration the program writes when none exists.
inline constexpr const char* kDefaultConfig =
    "Disable_Console= 1\n"
    "Disable_VCCntls= 1\n"
    "\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

}  // namespace e2e
