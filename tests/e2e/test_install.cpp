// The installed game, as a player meets it: `cmake --install` into a fresh
// prefix that is then made read-only and root-owned, the program run by an
// ordinary account with a home of its own. It plays, keeps its files in the
// player's data folder, reads its help from the install, and leaves the
// prefix exactly as installed.
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

// Xlib last: its macros clash with names in the Qt and test headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace e2e {
namespace {

using namespace std::chrono_literals;

// The sizes of the pictures in a window's _NET_WM_ICON (width, height, then
// width x height pixels, for each picture).
std::vector<int> iconSizes(const std::string& display, const std::string& windowId) {
    std::vector<int> sizes;
    Display* d = XOpenDisplay(display.c_str());
    if (d == nullptr) return sizes;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const ::Window w = std::stoul(windowId, nullptr, 0);
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_ICON", False), 0, 1L << 24, False, XA_CARDINAL,
                           &type, &format, &items, &after, &data) == Success &&
        data != nullptr && format == 32) {
        const auto* v = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i + 1 < items;) {
            const long width = v[i], height = v[i + 1];
            if (width <= 0 || height <= 0 || width != height) break;
            sizes.push_back(static_cast<int>(width));
            i += 2 + static_cast<unsigned long>(width * height);
        }
    }
    if (data != nullptr) XFree(data);
    XCloseDisplay(d);
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

class Installed : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        // The player passes through the test's folder to reach prefix and home.
        fs::permissions(dir(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        prefix_ = dir() / "prefix";
        std::string error;
        ASSERT_TRUE(installBuild(prefix_, {}, error)) << error;
        // Read-only and root's, as /usr is.
        ASSERT_NO_FATAL_FAILURE(makeRootsReadOnly(prefix_));
        installed_ = snapshot(prefix_);
        // Any prefix but /usr puts the programs in bin/, where the PATH finds them.
        ASSERT_TRUE(fs::is_regular_file(prefix_ / "bin" / "tarvik-kxv"));
        EXPECT_FALSE(fs::exists(prefix_ / "games"));
        programPath_ = prefix_ / "bin" / "tarvik-kxv";

        // The player's own home and runtime folder; the test's files stay root's.
        ASSERT_TRUE(giveToUser(dir() / "home", kPlayerAccount)) << "no account " << kPlayerAccount;
        ASSERT_TRUE(giveToUser(dir() / "runtime", kPlayerAccount));
    }

    // A stub viewer for the help file in the player's XDG folders: it writes
    // the path it was given to home/viewer-calls.txt.
    Environment withStubViewer(Environment env) {
        const fs::path home = dir() / "home";
        const fs::path apps = home / "viewer-data" / "applications";
        fs::create_directories(apps);
        fs::create_directories(home / "viewer-config");
        const fs::path script = home / "stub-viewer.sh";
        writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + (home / "viewer-calls.txt").string() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        writeFile(apps / "tarvik-e2e-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Stub help viewer\nExec=" + script.string() +
                      " %f\nMimeType=application/vnd.ms-htmlhelp;\nNoDisplay=true\n");
        writeFile(home / "viewer-config" / "mimeapps.list",
                  "[Default Applications]\napplication/vnd.ms-htmlhelp=tarvik-e2e-viewer.desktop\n"
                  "[Added Associations]\napplication/vnd.ms-htmlhelp=tarvik-e2e-viewer.desktop;\n");
        giveToUser(home, kPlayerAccount);
        env["XDG_DATA_DIRS"] = (home / "viewer-data").string() + ":/usr/local/share:/usr/share";
        env["XDG_CONFIG_HOME"] = (home / "viewer-config").string();
        return env;
    }

    // Starts the installed program as the player; false when no window came.
    bool startAsPlayer(const Environment& env) {
        launch(env, kPlayerAccount);
        if (HasFatalFailure()) return false;
        return !waitForMainWindow().empty();
    }

    std::string lastErrors() const { return readFile(dir() / ("run" + std::to_string(launches_) + ".err")); }

    // Presses HelpButton: the stub viewer is handed the installed help file.
    void expectHelpOpenedFromTheInstall() {
        clickControl(ui::id::HelpButton);
        // The stub writes one whole line.
        EXPECT_TRUE(waitUntil([&] { return readFile(dir() / "home" / "viewer-calls.txt").ends_with("\n"); }, 5s))
            << "the help viewer was not started";
        EXPECT_EQ(readFile(dir() / "home" / "viewer-calls.txt"),
                  fs::canonical(prefix_ / "share" / "games" / "tarvik-kxv" / "Tarvik_kxv-help.chm").string() + "\n");
        // Nothing more comes of the press once the program has handled it.
        EXPECT_TRUE(caughtUp()) << "the program does not take the keys after opening the help";
        EXPECT_FALSE(windowVisible("Error - Tarvik_KXv"));
    }

    // Plays one game to its end: every tile in turn until the game is won or
    // lost (tiles after the end are refused and change nothing).
    void playOneGame() {
        ASSERT_TRUE(startNewGame()) << "New Game shows no phrase";
        for (char c = 'A'; c <= 'Z'; ++c) clickTile(c);
        ASSERT_TRUE(waitForGameEnd()) << "every tile clicked does not end the game";
        // The tiles after the end are handled too before the files are read.
        ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the game";
    }

    void expectOwnedByPlayer(const fs::path& folder) {
        struct stat home {};
        ASSERT_EQ(::stat((dir() / "home").c_str(), &home), 0);
        for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
            struct stat st {};
            ASSERT_EQ(::stat((folder / name).c_str(), &st), 0) << name << " is missing from " << folder;
            EXPECT_EQ(st.st_uid, home.st_uid) << name << " is not the player's";
        }
    }

    fs::path prefix_;
    std::map<std::string, std::string> installed_;
};

TEST_F(Installed, APlayerPlaysAndTheFilesGoToTheDataFolderNamedByXdgDataHome) {
    const fs::path data = dir() / "home" / "my-data";
    const fs::path folder = data / "tarvik-kxv";
    Environment env = withStubViewer({{"XDG_DATA_HOME", data.string()}});
    ASSERT_TRUE(startAsPlayer(env)) << program_.describeEnd() << ", stderr: " << lastErrors();

    // The window is the one the menu entry's StartupWMClass names.
    const std::string entry = readFile(prefix_ / "share" / "applications" / "tarvik-kxv.desktop");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(entry, m, std::regex("\nStartupWMClass=([^\n]*)\n")));
    const std::string id = xdo_->search("^Tarvik_KXv$", true).front();
    const RunResult xprop = run({"xprop", "-display", x_.display(), "-id", id, "WM_CLASS"}, {});
    EXPECT_NE(xprop.out.find("\"" + m[1].str() + "\""), std::string::npos) << xprop.out;
    // Its icon comes at every size drawn up to 64 pixels, for the title bar,
    // the window list and the switcher; the larger ones are installed.
    EXPECT_EQ(iconSizes(x_.display(), id), (std::vector<int>{16, 24, 32, 48, 64}));

    // The first start made the folder and gave it the shipped library.
    const std::string shipped = readFile(prefix_ / "share" / "games" / "tarvik-kxv" / "OnLoad.dat");
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(readFile(folder / "OnLoad.dat"), shipped);
    EXPECT_EQ(readFile(folder / "KXData.dat"), unscramble(shipped));

    ASSERT_NO_FATAL_FAILURE(playOneGame());
    // The help comes from the install.
    expectHelpOpenedFromTheInstall();

    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();

    EXPECT_EQ(readFile(folder / "OnLoad.dat"), shipped);
    EXPECT_EQ(readFile(folder / "KXData.dat"), "Data purged...");
    EXPECT_EQ(readFile(folder / "KXC_CONFIG.INI"), kDefaultConfig);
    const std::string stats = readFile(folder / "KXStats.dat");
    std::istringstream numbers(stats);
    int total = -1, wins = -1, losses = -1, rest = 0, sum = 0;
    numbers >> total >> wins >> losses;
    for (int i = 0; i < 3 && numbers >> rest; ++i) sum += rest;
    EXPECT_EQ(wins + losses, 1) << "one game booked for player one: " << stats;
    EXPECT_EQ(sum, 0) << stats;
    if (wins == 0) {
        EXPECT_EQ(total, 0) << stats;
    }
    expectOwnedByPlayer(folder);
    EXPECT_FALSE(fs::exists(dir() / "home" / ".local" / "share" / "tarvik-kxv"));
    EXPECT_EQ(snapshot(prefix_), installed_) << "the run changed the installed files";

    // A second run keeps the player's files: unlock the editing there, which
    // the next start reads, and find the statistics as they were.
    writeFile(folder / "KXC_CONFIG.INI", kUnlockedConfig);
    ASSERT_TRUE(startAsPlayer(env)) << program_.describeEnd() << ", stderr: " << lastErrors();
    clickControl(ui::id::AddPuzzlesButton);
    EXPECT_FALSE(waitForWindow("Add_Puzzle").empty()) << "the unlocked add-puzzle window did not open";
    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the second run";
    EXPECT_EQ(readFile(folder / "KXStats.dat"), stats);
    EXPECT_EQ(readFile(folder / "OnLoad.dat"), shipped);
    EXPECT_EQ(readFile(folder / "KXC_CONFIG.INI"), kUnlockedConfig);
    EXPECT_EQ(snapshot(prefix_), installed_) << "the second run changed the installed files";
}

TEST_F(Installed, WithoutXdgDataHomeTheFilesGoToDotLocalShare) {
    ASSERT_TRUE(startAsPlayer({{"XDG_DATA_HOME", ""}})) << program_.describeEnd() << ", stderr: " << lastErrors();
    const fs::path folder = dir() / "home" / ".local" / "share" / "tarvik-kxv";
    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    EXPECT_EQ(readFile(folder / "OnLoad.dat"), readFile(prefix_ / "share" / "games" / "tarvik-kxv" / "OnLoad.dat"));
    EXPECT_EQ(readFile(folder / "KXData.dat"), "Data purged...");
    EXPECT_EQ(readFile(folder / "KXStats.dat"), "0 0 0 0 0 0");
    EXPECT_EQ(readFile(folder / "KXC_CONFIG.INI"), kDefaultConfig);
    expectOwnedByPlayer(folder);
    EXPECT_EQ(snapshot(prefix_), installed_) << "the run changed the installed files";
}

// A per-user install (cmake --install build --prefix ~/.local) could write
// its own folder, and keeps nothing there: the files go to the data folder,
// and the help is read from the installation.
TEST_F(Installed, APerUserInstallKeepsNothingBesideItself) {
    ASSERT_TRUE(giveToUser(prefix_, kPlayerAccount));
    for (const auto& e : fs::recursive_directory_iterator(prefix_))
        if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(prefix_, fs::perms::owner_write, fs::perm_options::add);
    const auto before = snapshot(prefix_);
    const std::string shipped = readFile(prefix_ / "share" / "games" / "tarvik-kxv" / "OnLoad.dat");

    ASSERT_TRUE(startAsPlayer(withStubViewer({}))) << program_.describeEnd() << ", stderr: " << lastErrors();
    const fs::path folder = dir() / "home" / ".local" / "share" / "tarvik-kxv";
    EXPECT_EQ(readFile(folder / "OnLoad.dat"), shipped);
    expectHelpOpenedFromTheInstall();
    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";

    EXPECT_EQ(readFile(folder / "KXData.dat"), "Data purged...");
    EXPECT_EQ(readFile(folder / "KXStats.dat"), "0 0 0 0 0 0");
    EXPECT_EQ(snapshot(prefix_), before) << "the run wrote into the per-user install";
}

}  // namespace
}  // namespace e2e
