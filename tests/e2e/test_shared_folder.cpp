// The game in a folder it shares with another user, and under root: links
// the other user planted change no file of the player's, a lock file or a
// lock of someone else's stops the start with a box and exit code 1, a start
// during an import says so, a kill during a write through a link leaves
// nothing behind once the game starts again, and a run as root leaves the
// player's files the player's.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "library/FolderLock.h"
#include "library/Leftovers.h"
#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kOtherAccount = "tarvik-other";
constexpr const char* kBoxTitle = "Error - Tarvik_KXv";

const std::string kPhrase = "kiwi tea";
const std::string kLibrary = "first;opening record:" + kPhrase + ";a drink:" + kPhrase + ";a drink:" +
                             kPhrase + ";a drink:last;closing record:";

struct Account {
    uid_t uid = 0;
    gid_t gid = 0;
};

std::optional<Account> account(const std::string& name) {
    const struct passwd* pw = getpwnam(name.c_str());
    if (pw == nullptr) return std::nullopt;
    return Account{pw->pw_uid, pw->pw_gid};
}

struct stat statOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st;
}

// Names in dir carrying the temporary files' mark.
std::vector<std::string> markedFiles(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name.find(library::kTemporaryMark) != std::string::npos) out.push_back(name);
    }
    return out;
}

// A process of another user holding a read lock on a file until it is killed.
class ForeignReadLock {
public:
    ForeignReadLock(const fs::path& file, const Account& who) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            char c = 'n';
            if (::setgid(who.gid) == 0 && ::setuid(who.uid) == 0) {
                const int fd = ::open(file.c_str(), O_RDONLY);
                struct flock fl {};
                fl.l_type = F_RDLCK;
                fl.l_whence = SEEK_SET;
                if (fd >= 0 && ::fcntl(fd, F_SETLK, &fl) == 0) c = 'y';
            }
            (void)!::write(ready[1], &c, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char c = 'n';
        held_ = ::read(ready[0], &c, 1) == 1 && c == 'y';
        ::close(ready[0]);
    }
    ~ForeignReadLock() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ForeignReadLock(const ForeignReadLock&) = delete;
    ForeignReadLock& operator=(const ForeignReadLock&) = delete;
    bool held() const { return held_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

class SharedFolder : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        const auto p = account(kPlayerAccount);
        const auto o = account(kOtherAccount);
        ASSERT_TRUE(p && o) << "no accounts " << kPlayerAccount << " and " << kOtherAccount
                            << " (scripts/install-deps.sh --test makes them)";
        player = *p;
        other = *o;
    }
    // The folder as the player's own (everything in it the player's).
    void givePlayerTheFolder() { ASSERT_TRUE(giveToUser(dir(), kPlayerAccount)); }
    // The folder as one shared with others: root's, of this mode, the home
    // and runtime folders the player's.
    void shareTheFolder(mode_t mode) {
        for (const char* sub : {"home", "runtime"}) {
            fs::create_directories(dir() / sub);
            ASSERT_TRUE(giveToUser(dir() / sub, kPlayerAccount));
        }
        ASSERT_EQ(::chmod(dir().c_str(), mode), 0);
    }
    // Everything in the folder, name by name: content, owner and mode.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::directory_iterator(dir())) {
            const std::string name = e.path().filename().string();
            if (name.rfind("run", 0) == 0 || name == "home" || name == "runtime") continue;
            const struct stat st = statOf(e.path());
            std::string what = std::to_string(st.st_uid) + ":" + std::to_string(st.st_mode);
            if (S_ISREG(st.st_mode)) what += ":" + readFile(e.path());
            out[name] = what;
        }
        return out;
    }
    // Starts the game and expects the refusal: a box with the text (found by
    // the start of it), no main window, Return ends the program with 1.
    void expectRefusal(const std::string& asUser, const std::string& textStart) {
        const auto before = snapshot();
        launch({}, asUser);
        const std::string box = waitForWindow(kBoxTitle, 15s);
        ASSERT_FALSE(box.empty()) << "no box; " << program_.describeEnd() << "\n" << x_.describeWindows();
        EXPECT_TRUE(xdo_->search("^Tarvik_KXv$", true).empty()) << "a game window next to the box";
        EXPECT_TRUE(boxShows(box, textStart));
        xdo_->focus(box);
        xdo_->key("Return");
        ASSERT_TRUE(program_.wait(10s)) << "the box did not end the program";
        EXPECT_EQ(program_.exitCode(), 1) << program_.describeEnd();
        EXPECT_EQ(snapshot(), before) << "a file changed";
    }
    // Whether the box on screen is the same size and picture as a standard
    // box with this text, drawn by the helper.
    ::testing::AssertionResult boxShows(const std::string& boxId, const std::string& text) {
        xdo_->focus(boxId);
        const auto g = xdo_->geometry(boxId);
        if (!g) return ::testing::AssertionFailure() << "the box has no geometry";
        Process reference;
        if (!reference.start({TARVIK_E2E_HELPER, "box", "20", "20", kBoxTitle, text},
                             {{"DISPLAY", x_.display()}, {"QT_QPA_PLATFORM", "xcb"}}, dir() / "runtime",
                             dir() / "runtime" / "box.out", dir() / "runtime" / "box.err")) {
            return ::testing::AssertionFailure() << "cannot start the helper";
        }
        std::string refId;
        waitUntil([&] {
            for (const auto& id : xdo_->search(std::string("^") + kBoxTitle + "$", true))
                if (id != boxId) refId = id;
            return !refId.empty();
        }, 5s);
        if (refId.empty()) return ::testing::AssertionFailure() << "the reference box did not appear";
        const auto r = xdo_->geometry(refId);
        if (!r || r->width != g->width || r->height != g->height) {
            return ::testing::AssertionFailure() << "the box is " << g->width << "x" << g->height
                                                 << ", a box with the text \"" << text << "\" is "
                                                 << (r ? r->width : 0) << "x" << (r ? r->height : 0);
        }
        return ::testing::AssertionSuccess();
    }
    std::string lastErr() const { return readFile(file("run" + std::to_string(launches_) + ".err")); }

    Account player, other;
};

// ---- Links planted by another user ----------------------------------------------

class PlantedLinks : public SharedFolder, public ::testing::WithParamInterface<mode_t> {};

TEST_P(PlantedLinks, ChangeNoFileOfThePlayers) {
    writeLibrary(kLibrary);
    ASSERT_NO_FATAL_FAILURE(shareTheFolder(GetParam()));
    // The player's private files, and the other user's links to them.
    const fs::path secrets = dir() / "home" / "private";
    fs::create_directories(secrets);
    const std::vector<std::string> names = {"KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"};
    for (const auto& name : names) {
        writeFile(secrets / name, "the player's own " + name);
        ASSERT_EQ(::chmod((secrets / name).c_str(), 0600), 0);
        fs::create_symlink(secrets / name, file(name));
        ASSERT_EQ(::lchown(file(name).c_str(), other.uid, other.gid), 0);
    }
    ASSERT_TRUE(giveToUser(dir() / "home", kPlayerAccount));

    launch({}, kPlayerAccount);
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd() << " " << lastErr();
    const QImage idle = settledScreenshot();
    const int bells = x_.bells();
    clickControl(ui::id::NewGameButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 3s)) << "New Game without a library does not beep";
    const ScreenRect phrase = controlOnScreen(ui::id::PhraseDisplay);
    EXPECT_TRUE(waitUntil([&] {
        return differingPixels(idle, x_.screenshot(), phrase.left, phrase.top, phrase.width, phrase.height) > 300;
    }, 3s)) << "no missing-data text";
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(program_.exitCode(), 0);

    for (const auto& name : names) {
        EXPECT_EQ(readFile(secrets / name), "the player's own " + name) << name;
        EXPECT_EQ(statOf(secrets / name).st_mode & 07777, 0600u) << name;
        EXPECT_TRUE(fs::is_symlink(file(name))) << name;
    }
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_TRUE(markedFiles(secrets).empty());
    const std::string err = lastErr();
    for (const char* name : {"KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
        EXPECT_NE(err.find(file(name).string() + " is a link that another user made"), std::string::npos)
            << name << ": " << err;
    }
}

INSTANTIATE_TEST_SUITE_P(StickyAndOpen, PlantedLinks, ::testing::Values(01777, 0777),
                         [](const auto& info) { return info.param == 01777 ? "Sticky1777" : "Open0777"; });

// ---- Lock files and locks of others ------------------------------------------------

TEST_F(SharedFolder, AForeignAZeroModeAndADirectoryLockFileStopTheStartWithABox) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "30 1 0 0 0 0");
    const std::string lock = file(library::kLockFileName).string();
    struct Case {
        const char* what;
        std::function<void()> plant;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"another user's", [&] {
             writeFile(lock, "");
             ASSERT_EQ(::chown(lock.c_str(), other.uid, other.gid), 0);
             ASSERT_EQ(::chmod(lock.c_str(), 0644), 0);
         }, "belongs to another user"},
        {"of mode 000", [&] {
             writeFile(lock, "");
             ASSERT_EQ(::chown(lock.c_str(), player.uid, player.gid), 0);
             ASSERT_EQ(::chmod(lock.c_str(), 0), 0);
         }, "cannot be opened"},
        {"a directory", [&] {
             fs::create_directory(lock);
             ASSERT_EQ(::chown(lock.c_str(), player.uid, player.gid), 0);
         }, "is not a plain file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(lock);
        ASSERT_NO_FATAL_FAILURE(shareTheFolder(01777));
        for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat"}) ASSERT_TRUE(giveToUser(file(name), kPlayerAccount));
        ASSERT_NO_FATAL_FAILURE(c.plant());
        ASSERT_NO_FATAL_FAILURE(expectRefusal(kPlayerAccount, "The game's folder is not safe to use: " + lock + " " +
                                                                  c.reason +
                                                                  ". Nothing was changed; remove that file, or start "
                                                                  "the game from a folder of your own."));
    }
}

TEST_F(SharedFolder, AReadLockHeldByAnotherUserStopsTheStartWithABox) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    // The player's lock file as an earlier version left it, readable by all.
    const fs::path lock = file(library::kLockFileName);
    writeFile(lock, "");
    ASSERT_EQ(::chmod(lock.c_str(), 0644), 0);
    ASSERT_NO_FATAL_FAILURE(givePlayerTheFolder());
    ASSERT_EQ(::chmod(dir().c_str(), 0755), 0);
    const ForeignReadLock held(lock, other);
    ASSERT_TRUE(held.held()) << "the other user could not lock the file";
    ASSERT_NO_FATAL_FAILURE(expectRefusal(kPlayerAccount, "The game's folder is in use by another program, which holds " +
                                                              lock.string() + " locked; try again when it is done."));
}

TEST_F(SharedFolder, TheGameStartedDuringAnImportSaysSoInABox) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    std::string words;
    for (int i = 0; words.size() < 2 * 1024 * 1024; ++i) words += "word" + std::to_string(i) + ";hint\n";
    writeFile(file("words.txt"), words);
    const fs::path tool = dir() / "tarvik-kxv-library";
    fs::copy_file(fs::path(TARVIK_BINARY).parent_path() / "tarvik-kxv-library", tool);
    // The import is held still once it holds the folder, so the start
    // certainly falls within it.
    Process import;
    ASSERT_TRUE(import.start({tool.string(), "import", file("words.txt").string()}, programEnvironment(), dir(),
                             file("import.out"), file("import.err")));
    ASSERT_TRUE(waitUntil([&] {
        const auto state = library::probeFolderLock(dir().string());
        return state.result == library::LockResult::HeldElsewhere && state.heldBy == library::LockHolder::Tool;
    }, 10s, 1ms)) << "the import never held the folder; " << import.describeEnd();
    ::kill(import.pid(), SIGSTOP);
    const std::string before = readFile(file("OnLoad.dat"));
    launch();
    const std::string box = waitForWindow(kBoxTitle, 15s);
    ASSERT_FALSE(box.empty()) << "no box; " << program_.describeEnd();
    EXPECT_TRUE(boxShows(box, "The puzzle library is being changed by tarvik-kxv-library; try again when it is done."));
    xdo_->key("Return");
    ASSERT_TRUE(program_.wait(10s));
    EXPECT_EQ(program_.exitCode(), 1);
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...") << "the refused start unscrambled the library";
    ::kill(import.pid(), SIGCONT);
    ASSERT_TRUE(import.wait(60s));
    EXPECT_EQ(import.exitCode(), 0) << readFile(file("import.err"));
    EXPECT_NE(readFile(file("OnLoad.dat")), before) << "the import was not stored";
}

// ---- Leftovers beside a link's target, and a run as root ------------------------------

TEST_F(SharedFolder, AKillDuringAWriteThroughALinkLeavesNothingAfterTheNextStart) {
    const fs::path store = dir() / "store";
    fs::create_directories(store);
    std::string big = "first;opening record:";
    for (int i = 0; big.size() < 24 * 1024 * 1024; ++i) big += "phrase number " + std::to_string(i) + ";hint:";
    big += "last;closing record:";
    writeFile(store / "lib.onload", scramble(big));
    fs::create_symlink(store / "lib.onload", file("OnLoad.dat"));
    writeConfig(kUnlockedConfig);
    // Kill runs until one dies while its temporary stands beside the target.
    bool caught = false;
    for (int attempt = 0; attempt < 5 && !caught; ++attempt) {
        launch();
        ASSERT_FALSE(waitForMainWindow(30s).empty()) << program_.describeEnd();
        clickControl(ui::id::ExitButton);   // the exit rewrites the whole library through the link
        caught = waitUntil([&] { return !markedFiles(store).empty() || !program_.running(); }, 20s, 1ms) &&
                 !markedFiles(store).empty();
        program_.kill();
    }
    ASSERT_TRUE(caught) << "no run was caught in the middle of its write";
    launch();
    ASSERT_FALSE(waitForMainWindow(30s).empty()) << program_.describeEnd();
    EXPECT_TRUE(markedFiles(store).empty()) << "a leftover stayed beside the link's target";
    EXPECT_TRUE(fs::is_symlink(file("OnLoad.dat")));
    EXPECT_EQ(unscramble(readFile(store / "lib.onload")), big) << "the library is not whole";
    ASSERT_TRUE(exitThroughButton(30s));
}

TEST_F(SharedFolder, ARunAsRootLeavesThePlayersFilesThePlayers) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "30 1 0 0 0 0");
    ASSERT_EQ(::chmod(file("KXStats.dat").c_str(), 0600), 0);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(givePlayerTheFolder());
    launch();   // as root
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::ResetStatsButton);
    ASSERT_TRUE(waitUntil([&] { return readFile(file("KXStats.dat")) == "0 0 0 0 0 0"; }, 5s));
    ASSERT_TRUE(exitThroughButton());
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI", ".KXLock"}) {
        EXPECT_EQ(statOf(file(name)).st_uid, player.uid) << name;
        EXPECT_EQ(statOf(file(name)).st_gid, player.gid) << name;
    }
    EXPECT_EQ(statOf(file("KXStats.dat")).st_mode & 07777, 0600u);
    // The player's next game plays from the library and saves its scores.
    launch({}, kPlayerAccount);
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd() << " " << lastErr();
    ASSERT_TRUE(waitUntil([&] { return readFile(file("KXData.dat")) == kLibrary; }, 5s))
        << "the player's run did not unscramble the library";
    clickControl(ui::id::NewGameButton);
    for (char c : std::string("KIWTEA")) clickTile(c);
    ASSERT_TRUE(waitUntil([&] { return readFile(file("KXStats.dat")) == "80 1 0 0 0 0"; }, 5s))
        << "the player's win was not saved: " << readFile(file("KXStats.dat"));
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
}

}  // namespace
}  // namespace e2e
