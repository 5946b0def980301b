// The player's library and scores under real faults: two copies in one
// folder, a full disk, files the player cannot read, kill -9 after each kind
// of change, a file-size limit, symbolic links and file modes, and pastes.
#include <algorithm>
#include <csignal>
#include <map>
#include <sys/mount.h>
#include <sys/stat.h>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Every drawable record holds the same phrase, so a game can be won blind.
const std::string kPhrase = "kiwi tea";
const std::string kLibrary = "first;opening record:" + kPhrase + ";a drink:" + kPhrase + ";a drink:" +
                             kPhrase + ";a drink:last;closing record:";

// A library of about size bytes of distinct records, the last one closing.
std::string bigLibrary(std::size_t size) {
    std::string out = "first;opening record:";
    for (int i = 0; out.size() < size; ++i) out += "phrase number " + std::to_string(i) + ";hint " + std::to_string(i) + ":";
    return out + "last;closing record:";
}

// The names of temporary files in dir: a game file's name, the mark and six
// characters.
std::vector<std::string> temporaries(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        for (const std::string base : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
            const std::string marked = base + ".tarvik-kxv-temp-";
            if (name.rfind(marked, 0) == 0 && name.size() == marked.size() + 6) out.push_back(name);
        }
    }
    return out;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class DataSafety : public ProgramTest {
protected:
    void startAndWait(const Environment& extra = {}, const std::string& asUser = {}) {
        launch(extra, asUser);
        ASSERT_FALSE(waitForMainWindow().empty())
            << program_.describeEnd() << ", stderr: " << readFile(file("run" + std::to_string(launches_) + ".err"));
    }
    void openAddWindow() {
        clickControl(ui::id::AddPuzzlesButton);
        ASSERT_FALSE(waitForWindow("Add_Puzzle").empty()) << "AddPuzzlesButton does not show the add window";
    }
    // Waits until the file holds exactly bytes.
    bool fileBecomes(const std::string& name, const std::string& bytes, std::chrono::milliseconds t = 5s) {
        return waitUntil([&] { return readFile(file(name)) == bytes; }, t);
    }
    void kill9() {
        program_.signal(SIGKILL);
        ASSERT_TRUE(program_.wait(5s));
        ASSERT_EQ(program_.termSignal(), SIGKILL);
    }
    // The screen region where the e2e helper's window stands over the main window.
    static constexpr int kOverlapLeft = 700, kOverlapTop = 600, kOverlapWidth = 200, kOverlapHeight = 26;
};

// ---- Two starts in one folder -------------------------------------------------

TEST_F(DataSafety, ASecondStartBringsTheRunningGameForwardAndEndsAtOnceTouchingNothing) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "5 1 0 0 0 0");
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    const QImage alone = settledScreenshot();

    // Another window covers part of the game.
    Process other;
    ASSERT_TRUE(other.start({TARVIK_E2E_HELPER, "window", "Other Window"}, programEnvironment(), dir(),
                            file("other.out"), file("other.err")));
    ASSERT_FALSE(waitForWindow("Other Window").empty());
    ASSERT_TRUE(waitUntil([&] {
        return differingPixels(alone, x_.screenshot(), kOverlapLeft, kOverlapTop, kOverlapWidth, kOverlapHeight) > 500;
    }, 5s)) << "the other window does not cover the game";

    const std::string plainBefore = readFile(file("KXData.dat"));
    const auto started = Clock::now();
    const RunResult second = run({programPath_.string()}, programEnvironment(), 20s);
    const auto took = Clock::now() - started;
    ASSERT_TRUE(second.finished) << "the second start did not end";
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_LT(took, 5s);
    EXPECT_EQ(second.err, "");
    // No window of its own, and the first run's main window is on top again.
    EXPECT_EQ(xdo_->search("^Tarvik_KXv$", true).size(), 1u) << x_.describeWindows();
    EXPECT_TRUE(waitUntil([&] {
        return differingPixels(alone, x_.screenshot(), kOverlapLeft, kOverlapTop, kOverlapWidth, kOverlapHeight) < 50;
    }, 5s)) << "the running game was not brought to the front";
    EXPECT_EQ(readFile(file("KXData.dat")), plainBefore);
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_TRUE(program_.running());

    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary)) << "the library is not whole after both exits";
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    EXPECT_EQ(readFile(file("KXStats.dat")), "5 1 0 0 0 0");
}

TEST_F(DataSafety, TwoStartsAtOnceLeaveOneGameAndTheLibraryWhole) {
    writeLibrary(kLibrary);
    Process twin;
    launch();
    ASSERT_TRUE(twin.start({programPath_.string()}, programEnvironment(), dir(), file("twin.out"), file("twin.err")));
    // Whichever of the two took the folder shows the game.
    ASSERT_FALSE(waitForWindow("Tarvik_KXv", 15s).empty()) << program_.describeEnd() << ", " << twin.describeEnd();
    ASSERT_TRUE(waitUntil([&] { return !program_.running() || !twin.running(); }, 10s)) << "both copies run";
    Process& ended = program_.running() ? twin : program_;
    Process& running = program_.running() ? program_ : twin;
    EXPECT_EQ(ended.exitCode(), 0) << ended.describeEnd();
    // The ended copy's windows, if it had any, go with its connection.
    EXPECT_TRUE(waitUntil([&] { return xdo_->search("^Tarvik_KXv$", true).size() == 1u; }, 3s))
        << x_.describeWindows();
    running.signal(SIGTERM);
    ASSERT_TRUE(running.wait(10s));
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
}

// ---- Files that cannot be read or written ---------------------------------------

TEST_F(DataSafety, AStartUpOnADiskTooFullToUnscrambleLeavesTheLibraryAlone) {
    // A small file system holding the program, the library and little else.
    const fs::path disk = dir() / "disk";
    fs::create_directories(disk);
    const std::string library = bigLibrary(600 * 1024);
    const auto binarySize = fs::file_size(programPath_);
    const unsigned long long size = binarySize + library.size() + 256 * 1024;   // less than the plain copy needs
    const std::string options = "size=" + std::to_string(size) + ",mode=0755";
    ASSERT_EQ(::mount("tarvik-e2e", disk.c_str(), "tmpfs", 0, options.c_str()), 0)
        << "cannot mount a tmpfs (the test runs as root): " << std::strerror(errno);
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    std::error_code ec;
    fs::copy_file(programPath_, disk / "tarvik-kxv", ec);
    ASSERT_FALSE(ec) << ec.message();
    writeFile(disk / "OnLoad.dat", scramble(library));
    writeFile(disk / "KXData.dat", "Data purged...");
    writeFile(disk / "KXStats.dat", "1 2 3 4 5 6");
    writeFile(disk / "KXC_CONFIG.INI", kUnlockedConfig);

    Process game;
    ASSERT_TRUE(game.start({(disk / "tarvik-kxv").string()}, programEnvironment(), disk, file("disk.out"),
                           file("disk.err")));
    ASSERT_FALSE(waitForWindow("Tarvik_KXv", 15s).empty()) << game.describeEnd() << " " << readFile(file("disk.err"));
    EXPECT_EQ(readFile(disk / "KXData.dat"), "Data purged...") << "the plain copy fitted after all";
    // New Game says that the library is missing, with a beep, as without one.
    {
        const QImage idle = settledScreenshot();
        const int bells = x_.bells();
        clickControl(ui::id::NewGameButton);
        EXPECT_TRUE(x_.waitForBells(bells + 1, 3s)) << "New Game without a library does not beep";
        const ScreenRect phrase = controlOnScreen(ui::id::PhraseDisplay);
        const ScreenRect hint = controlOnScreen(ui::id::HintDisplay);
        EXPECT_TRUE(waitUntil([&] {
            return differingPixels(idle, x_.screenshot(), phrase.left, phrase.top, phrase.width, phrase.height) > 300;
        }, 3s)) << "no missing-data text in the phrase line";
        EXPECT_GT(differingPixels(idle, settledScreenshot(), hint.left, hint.top, hint.width, hint.height), 20)
            << "no \"No data\" in the hint line";
    }
    // An add in this run cannot be stored: it beeps and writes nothing.
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, "not stored"));
    const int bells = x_.bells();
    clickControl(ui::id::AddButton);
    EXPECT_TRUE(x_.waitForBells(bells + 1, 3s)) << "an add that cannot be stored does not beep";
    clickControl(ui::id::ExitButton);
    ASSERT_TRUE(game.wait(10s));
    EXPECT_EQ(game.exitCode(), 0) << game.describeEnd();
    EXPECT_TRUE(readFile(disk / "OnLoad.dat") == scramble(library)) << "the library was written over";
    EXPECT_EQ(readFile(disk / "KXData.dat"), "Data purged...");
    EXPECT_EQ(readFile(disk / "KXStats.dat"), "1 2 3 4 5 6");
    EXPECT_TRUE(temporaries(disk).empty());
}

TEST_F(DataSafety, FilesThePlayerCannotReadAreNeverWrittenOver) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "500 7 3 200 4 4");
    writeConfig(kDefaultConfig);
    ASSERT_TRUE(giveToUser(dir(), kPlayerAccount)) << "no account " << kPlayerAccount;
    // Root's own, readable by nobody else.
    for (const char* name : {"KXStats.dat", "OnLoad.dat"}) {
        ASSERT_EQ(::chown(file(name).c_str(), 0, 0), 0);
        ASSERT_EQ(::chmod(file(name).c_str(), 0600), 0);
    }
    ASSERT_NO_FATAL_FAILURE(startAndWait({}, kPlayerAccount));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    EXPECT_EQ(readFile(file("KXStats.dat")), "500 7 3 200 4 4") << "unreadable statistics were overwritten";
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary)) << "an unreadable library was overwritten";
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
}

TEST_F(DataSafety, AFileSizeLimitMakesWritesFailWithoutKillingTheGame) {
    const std::string library = bigLibrary(200 * 1024);
    writeLibrary(library);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "1 2 3 4 5 6");
    launchWithFileSizeLimit(64 * 1024);
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    ASSERT_TRUE(exitThroughButton()) << "the game did not end";
    EXPECT_TRUE(program_.exitedNormally()) << program_.describeEnd();
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    EXPECT_TRUE(readFile(file("OnLoad.dat")) == scramble(library)) << "the library was written over";
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    EXPECT_EQ(readFile(file("KXStats.dat")), "1 2 3 4 5 6");
    EXPECT_TRUE(temporaries(dir()).empty());
}

// ---- kill -9 after each kind of change ---------------------------------------

TEST_F(DataSafety, AnAddAndADeleteOutliveAKill) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, "blue moon"));
    ASSERT_TRUE(typeInto(ui::id::HintEdit, "Rare"));
    clickControl(ui::id::AddButton);
    const std::string added = kLibrary + "blue moon;Rare:";
    // The plain file is written last: once it shows the record, so must the library.
    ASSERT_TRUE(fileBecomes("KXData.dat", added));
    ASSERT_NO_FATAL_FAILURE(kill9());
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), added);

    ASSERT_NO_FATAL_FAILURE(startAndWait());
    EXPECT_EQ(readFile(file("KXData.dat")), added);
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    {
        const ScreenRect edit = controlOnScreen(ui::id::PhraseEdit);
        const QImage before = settledScreenshot();
        clickControl(ui::id::ViewButton);
        ASSERT_TRUE(waitUntil([&] {
            return differingPixels(before, x_.screenshot(), edit.left, edit.top, edit.width, edit.height) > 30;
        }, 3s)) << "ViewButton shows no record";
    }
    clickControl(ui::id::DeleteButton);   // the first record
    const std::string deleted = added.substr(std::string("first;opening record:").size());
    ASSERT_TRUE(fileBecomes("KXData.dat", deleted)) << printable(readFile(file("KXData.dat")));
    ASSERT_NO_FATAL_FAILURE(kill9());
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), deleted);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    EXPECT_EQ(readFile(file("KXData.dat")), deleted);
}

TEST_F(DataSafety, AWinAndAResetOutliveAKill) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "10 1 0 40 1 9");
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_TRUE(startNewGame()) << "New Game shows no phrase";
    for (char c : std::string("KIWTEA")) clickTile(c);
    // 8 characters, no miss: 80 points.
    ASSERT_TRUE(fileBecomes("KXStats.dat", "90 2 0 40 1 9")) << printable(readFile(file("KXStats.dat")));
    ASSERT_NO_FATAL_FAILURE(kill9());

    ASSERT_NO_FATAL_FAILURE(startAndWait());
    clickControl(ui::id::ResetStatsButton);
    ASSERT_TRUE(fileBecomes("KXStats.dat", "0 0 0 40 1 9")) << printable(readFile(file("KXStats.dat")));
    ASSERT_NO_FATAL_FAILURE(kill9());
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("KXStats.dat")), "0 0 0 40 1 9");
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
}

TEST_F(DataSafety, TemporariesOfAKilledRunGoAtTheNextStartAndThePlayersCopiesStay) {
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "7 1 0 0 0 0");
    writeFile(file("OnLoad.dat.tarvik-kxv-temp-k1LLed"), std::string(100000, 'x'));
    writeFile(file("KXStats.dat.tarvik-kxv-temp-Zz9Zz9"), "7");
    // One an earlier version left: mkstemp's mode, a start of the statistics.
    writeFile(file("KXStats.dat.qW3rTy"), "7 1");
    ASSERT_EQ(::chmod(file("KXStats.dat.qW3rTy").c_str(), 0600), 0);
    // The player's own copies, private and alike to the game's files.
    const std::map<std::string, std::string> copies = {
        {"OnLoad.dat.backup", scramble(kLibrary)},
        {"KXStats.dat.before", "7 1 0 0 0 0"},
        {"KXC_CONFIG.INI.orig01", kDefaultConfig},
        {"KXData.dat.saved1", "Data purged..."},
    };
    for (const auto& [name, bytes] : copies) {
        writeFile(file(name), bytes);
        ASSERT_EQ(::chmod(file(name).c_str(), 0600), 0);
    }
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    EXPECT_TRUE(temporaries(dir()).empty());
    EXPECT_FALSE(fs::exists(file("KXStats.dat.qW3rTy"))) << "an earlier version's leftover stayed";
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    for (const auto& [name, bytes] : copies) EXPECT_EQ(readFile(file(name)), bytes) << name << " was not kept";
}

// ---- Links and modes ------------------------------------------------------------

TEST_F(DataSafety, ALinkedLibraryIsWrittenThroughItsLinkAndFilesKeepTheirModes) {
    const fs::path store = dir() / "store";
    fs::create_directories(store);
    writeFile(store / "library.dat", scramble(kLibrary));
    ASSERT_EQ(::chmod((store / "library.dat").c_str(), 0640), 0);
    fs::create_symlink(store / "library.dat", file("OnLoad.dat"));
    writeFile(file("KXStats.dat"), "1 2 3 4 5 6");
    ASSERT_EQ(::chmod(file("KXStats.dat").c_str(), 0600), 0);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, "linked"));
    clickControl(ui::id::AddButton);
    ASSERT_TRUE(fileBecomes("KXData.dat", kLibrary + "linked;no hint available:"));
    ASSERT_TRUE(exitThroughButton());
    EXPECT_TRUE(fs::is_symlink(file("OnLoad.dat"))) << "the link was replaced by a plain file";
    EXPECT_EQ(readFile(store / "library.dat"), scramble(kLibrary + "linked;no hint available:"));
    EXPECT_EQ(modeOf(store / "library.dat"), 0640u);
    EXPECT_EQ(modeOf(file("KXStats.dat")), 0600u);
    EXPECT_EQ(readFile(file("KXStats.dat")), "1 2 3 4 5 6");
    for (const auto& e : fs::directory_iterator(store)) EXPECT_EQ(e.path().filename(), "library.dat") << "left behind";
}

// ---- A record viewed and added again -------------------------------------------------

TEST_F(DataSafety, AHandEditedLongRecordViewedAndAddedAgainIsStoredWhole) {
    const std::string phrase = "A Phrase Edited By Hand Far Beyond The Thirty-Eight Of The Field";
    const std::string hint = "and a hint longer than the thirty-four characters typed";
    const std::string library = "first;opening record:" + phrase + ";" + hint + ":last;closing record:";
    writeLibrary(library);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    const ScreenRect edit = controlOnScreen(ui::id::PhraseEdit);
    for (int press = 0; press < 2; ++press) {
        const QImage before = settledScreenshot();
        clickControl(ui::id::ViewButton);
        ASSERT_TRUE(waitUntil([&] {
            return differingPixels(before, x_.screenshot(), edit.left, edit.top, edit.width, edit.height) > 30;
        }, 3s)) << "View press " << press + 1 << " shows nothing new";
    }
    clickControl(ui::id::AddButton);
    const std::string added = library + "a phrase edited by hand far beyond the thirty-eight of the field;" + hint + ":";
    EXPECT_TRUE(fileBecomes("KXData.dat", added)) << printable(readFile(file("KXData.dat")));
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), added);
}

// ---- Pastes ---------------------------------------------------------------------

class Pastes : public DataSafety {
protected:
    // Puts text on the display's clipboard; xclip stays as its owner.
    void setClipboard(const std::string& text) {
        clipboard_.reset();
        writeFile(file("clip.txt"), text);
        ASSERT_TRUE(clipboard_.start({"xclip", "-quiet", "-selection", "clipboard", "-i", file("clip.txt").string()},
                                     programEnvironment(), dir(), file("xclip.out"), file("xclip.err")))
            << "xclip is not installed (package xclip)";
        const RunResult check = [&] {
            RunResult r;
            waitUntil([&] {
                r = run({"xclip", "-selection", "clipboard", "-o"}, programEnvironment(), 3s);
                return r.finished && r.out == text;
            }, 5s, 100ms);
            return r;
        }();
        ASSERT_EQ(check.out, text) << "the clipboard does not hold the text";
    }
    void pasteInto(int id) {
        ASSERT_TRUE(clickField(id)) << ui::findControl(id)->name << " does not get the focus";
        xdo_->key("ctrl+v");
    }
    // Pastes and waits until the text shows: the program has taken it from
    // the clipboard, which may then change.
    void pasteAndSee(int id) {
        const ScreenRect r = controlOnScreen(id);
        const QImage before = settledScreenshot();
        ASSERT_NO_FATAL_FAILURE(pasteInto(id));
        ASSERT_TRUE(waitUntil([&] {
            return differingPixels(before, x_.screenshot(), r.left, r.top, r.width, r.height) > 30;
        }, 3s)) << "the paste does not show in " << ui::findControl(id)->name;
    }
    Process clipboard_;
};

TEST_F(Pastes, APasteKeepsItsFirstLineAndIsCutToTheFieldsLimit) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    ASSERT_NO_FATAL_FAILURE(setClipboard("two lines\nof text\r\nthird"));
    ASSERT_NO_FATAL_FAILURE(pasteAndSee(ui::id::PhraseEdit));
    ASSERT_NO_FATAL_FAILURE(setClipboard("a hint far longer than the field's thirty-four characters"));
    ASSERT_NO_FATAL_FAILURE(pasteAndSee(ui::id::HintEdit));
    clickControl(ui::id::AddButton);
    const std::string expected = kLibrary + "two lines;a hint far longer than the field's:";
    EXPECT_TRUE(fileBecomes("KXData.dat", expected)) << printable(readFile(file("KXData.dat")));
    EXPECT_EQ(unscramble(readFile(file("OnLoad.dat"))), expected);
}

TEST_F(Pastes, ACharacterOutsideTheEightBitSetIsRefusedWithABeep) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    ASSERT_NO_FATAL_FAILURE(startAndWait());
    ASSERT_NO_FATAL_FAILURE(openAddWindow());
    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, "euro"));
    const int bells = x_.bells();
    xdo_->type("\xE2\x82\xAC");   // U+20AC
    EXPECT_TRUE(x_.waitForBells(bells + 1, 3s)) << "no beep for a character outside the 8-bit set";
    ASSERT_NO_FATAL_FAILURE(setClipboard("cost \xE2\x82\xAC" "5"));
    const int before = x_.bells();
    ASSERT_NO_FATAL_FAILURE(pasteInto(ui::id::HintEdit));
    // The beep shows the paste handled.
    EXPECT_TRUE(x_.waitForBells(before + 1, 3s)) << "no beep for a paste outside the 8-bit set";
    clickControl(ui::id::AddButton);
    EXPECT_TRUE(fileBecomes("KXData.dat", kLibrary + "euro;no hint available:"))
        << printable(readFile(file("KXData.dat")));
}

}  // namespace
}  // namespace e2e
