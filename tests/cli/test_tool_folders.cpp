// Every command of the library tool against every kind of folder --dir can
// name: refused with a message that names it, made only for a change, and
// never an abort or a folder it was not asked to use.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

const std::string kLibrary = "first;1:cat;Animal:dog;Pet:owl;Night bird:sun;star:last;2:";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t entriesIn(const fs::path& folder) {
    std::size_t n = 0;
    for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it) ++n;
    return n;
}

// Each command as a player types it; a change or not.
struct CommandCase {
    std::vector<std::string> args;
    bool changes;
    bool preview;   // reads, but takes a folder that is not there for an empty one
};

std::vector<CommandCase> everyCommand(const std::string& wordList) {
    return {
        {{"list"}, false, false},
        {{"export"}, false, false},
        {{"check"}, false, false},
        {{"add", "kiwi", "A fruit"}, true, false},
        {{"delete", "2"}, true, false},
        {{"import", wordList}, true, false},
        {{"import", "--dry-run", wordList}, false, true},
    };
}

std::vector<std::string> withDir(const std::string& dir, const std::vector<std::string>& args) {
    std::vector<std::string> full = {"--dir", dir};
    full.insert(full.end(), args.begin(), args.end());
    return full;
}

// The player's home, for the whole test: where the tool must make nothing.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
        if (const char* xdg = std::getenv("XDG_DATA_HOME")) savedXdg_ = xdg;
        ::setenv("HOME", home_.dir().c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        writeBytes(words_ / "words.txt", "kiwi;A fruit\nmango;Another fruit\n");
    }
    void TearDown() override {
        ::setenv("HOME", savedHome_.c_str(), 1);
        if (!savedXdg_.empty()) ::setenv("XDG_DATA_HOME", savedXdg_.c_str(), 1);
        // Nothing was made in the player's home by any command.
        EXPECT_TRUE(fs::is_empty(home_.path())) << "the tool made something in the player's home";
    }
    std::string wordList() const { return (words_ / "words.txt").string(); }

    TempFolder home_{"home"};
    TempFolder words_{"words"};
    TempFolder place_{"place"};

private:
    std::string savedHome_, savedXdg_;
};

void expectRefused(const ToolResult& r, const std::string& what, const std::string& named, const std::string& why) {
    EXPECT_EQ(r.exitCode, 1) << what << "\n" << r.out << r.err;
    EXPECT_TRUE(contains(r.err, named)) << what << ": the message names no folder: " << r.err;
    EXPECT_TRUE(contains(r.err, why)) << what << ": " << r.err;
}

}  // namespace

TEST_F(FolderTest, AFolderThatIsNotThereIsMadeForAChangeAndRefusedForAReading) {
    for (const auto& c : everyCommand(wordList())) {
        const std::string dir = place_.dir() + "/new/" + c.args[0] + std::to_string(c.args.size());
        const auto r = runTool(withDir(dir, c.args));
        const std::string what = c.args[0] + " " + c.args.back();
        if (c.args[0] == "delete") {
            // An empty library has no record 2: refused, and no folder made for nothing.
            expectRefused(r, what, "no record 2", "Nothing was changed");
            EXPECT_FALSE(fs::exists(dir)) << what;
        } else if (c.changes) {
            EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err;
            EXPECT_TRUE(contains(r.out, dir + "/OnLoad.dat")) << what << ": the path it changed: " << r.out;
            EXPECT_TRUE(contains(plainLibrary(dir), "kiwi;A fruit:")) << what;
        } else if (c.preview) {
            EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err;
            EXPECT_TRUE(contains(r.out, "Would add 2 puzzles")) << r.out;
            EXPECT_FALSE(fs::exists(dir)) << what << ": a dry run makes no folder";
        } else {
            expectRefused(r, what, dir, "no such folder");
            EXPECT_FALSE(fs::exists(dir)) << what;
        }
    }
}

TEST_F(FolderTest, AFileADanglingLinkAndAPathThroughAFileAreRefusedByEveryCommand) {
    writeBytes(place_ / "a file", "not a folder");
    fs::create_symlink(place_ / "gone", place_ / "dangling");
    struct Bad {
        std::string dir;
        std::string why;
    };
    const Bad bad[] = {
        {(place_ / "a file").string(), "not a folder"},
        {(place_ / "dangling").string(), "a link to " + (place_ / "gone").string()},
        {(place_ / "a file" / "below").string(), "a part of the path is a file"},
    };
    for (const auto& b : bad) {
        for (const auto& c : everyCommand(wordList())) {
            expectRefused(runTool(withDir(b.dir, c.args)), c.args[0] + " on " + b.dir, b.dir, b.why);
        }
    }
    EXPECT_EQ(readBytes(place_ / "a file"), "not a folder");
    EXPECT_FALSE(fs::exists(place_ / "gone")) << "the link's target was made";
    EXPECT_EQ(entriesIn(place_.path()), 2u);
}

TEST_F(FolderTest, AFolderWithoutALibraryIsListedAsSuch) {
    const auto r = runTool({"--dir", place_.dir(), "list"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_TRUE(contains(r.err, place_.dir() + "/ holds no library yet (no OnLoad.dat)")) << r.err;
    EXPECT_TRUE(fs::is_empty(place_.path())) << "a reading left something behind";
}

TEST_F(FolderTest, AnEmptyFolderNameIsWrongUsage) {
    for (const auto& c : everyCommand(wordList())) {
        for (const std::vector<std::string>& args : {withDir("", c.args), [&] {
                 std::vector<std::string> a = {"--dir="};
                 a.insert(a.end(), c.args.begin(), c.args.end());
                 return a;
             }()}) {
            const auto r = runTool(args);
            EXPECT_EQ(r.exitCode, 2) << c.args[0];
            EXPECT_TRUE(contains(r.err, "--dir needs a folder")) << r.err;
        }
    }
}

// A folder of someone else's: readable, not writable. Run as the ordinary
// account when the tests run as root (root may write anywhere), else with
// the folder's write permission taken away.
TEST_F(FolderTest, AFolderTheUserMayNotWriteIsReadButNeverChanged) {
    const std::string account = ::geteuid() == 0 ? "tarvik-player" : "";
    fs::permissions(place_.path(), fs::perms(0755));
    const fs::path locked = place_ / "locked";
    fs::create_directory(locked);
    writePlainLibrary(locked, kLibrary);
    fs::permissions(locked, fs::perms(0555));
    const std::string before = readBytes(locked / "OnLoad.dat");
    for (const auto& c : everyCommand(wordList())) {
        fs::permissions(words_.path(), fs::perms(0755));
        bool ran = false;
        const auto r = runToolAs(account, withDir(locked.string(), c.args), ran);
        if (!ran) GTEST_SKIP() << "no account " << account << " (scripts/install-deps.sh --test makes it)";
        const std::string what = c.args[0] + " " + c.args.back();
        if (c.changes) {
            expectRefused(r, what, locked.string(), "may not write in this folder");
        } else {
            EXPECT_EQ(r.exitCode, 0) << what << ": " << r.err;
        }
    }
    EXPECT_EQ(readBytes(locked / "OnLoad.dat"), before);
    EXPECT_EQ(entriesIn(locked), 1u)
        << "something was written into the folder";

    // Nor can a new folder be made below it.
    for (const auto& c : everyCommand(wordList())) {
        if (!c.changes || c.args[0] == "delete") continue;
        bool ran = false;
        const auto r = runToolAs(account, withDir((locked / "sub").string(), c.args), ran);
        expectRefused(r, c.args[0], (locked / "sub").string(), "cannot be created");
    }
    fs::permissions(locked, fs::perms(0755));
}

TEST_F(FolderTest, AFolderTheUserMayNotOpenIsRefusedByEveryCommand) {
    const std::string account = ::geteuid() == 0 ? "tarvik-player" : "";
    fs::permissions(place_.path(), fs::perms(0755));
    fs::permissions(words_.path(), fs::perms(0755));
    const fs::path closed = place_ / "closed";
    fs::create_directory(closed);
    writePlainLibrary(closed, kLibrary);
    // Root's own 0700 folder for the ordinary account; else none of its bits.
    fs::permissions(closed, fs::perms(::geteuid() == 0 ? 0700 : 0));
    for (const auto& c : everyCommand(wordList())) {
        bool ran = false;
        const auto r = runToolAs(account, withDir(closed.string(), c.args), ran);
        if (!ran) GTEST_SKIP() << "no account " << account;
        expectRefused(r, c.args[0], closed.string(), "may not open the files in this folder");
    }
    fs::permissions(closed, fs::perms(0700));
    EXPECT_EQ(plainLibrary(closed), kLibrary);
}

TEST_F(FolderTest, ARelativeFolderIsNamedInFullAndWithoutDirTheFolderBesideTheToolIsUsed) {
    const fs::path cwd = fs::current_path();
    fs::current_path(place_.path());
    const auto r = runTool({"--dir", "rel", "add", "kiwi"});
    fs::current_path(cwd);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Written to " + place_.dir() + "/rel/OnLoad.dat\n")) << r.out;

    // A copy of the tool that is not installed keeps to its own folder, as the game there does.
    const fs::path copy = place_ / "tarvik-kxv-library";
    fs::copy_file(TARVIK_LIBRARY_TOOL, copy);
    const auto beside = runTool({"import", wordList()}, "", copy.string());
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_TRUE(contains(beside.out, "Added 2 puzzles to " + place_.dir() + "/OnLoad.dat;")) << beside.out;
}
