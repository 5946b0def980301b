// Start-up and exit of the real program: where its windows open, the files it
// unscrambles, creates and writes back, and how it ends.
#include <algorithm>
#include <csignal>
#include <sys/stat.h>


#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary = kSixRecords;

class StartupExit : public ProgramTest {
protected:
    // What an orderly exit leaves of a run that played nothing.
    void expectFilesOfAnOrderlyExit() {
        EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary))
            << "unscrambled: " << printable(unscramble(readFile(file("OnLoad.dat"))));
        EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...")
            << printable(readFile(file("KXData.dat")));
        EXPECT_EQ(readFile(file("KXStats.dat")), "0 0 0 0 0 0")
            << printable(readFile(file("KXStats.dat")));
        EXPECT_EQ(readFile(file("KXC_CONFIG.INI")), kDefaultConfig);
    }
};

TEST_F(StartupExit, OpensAtItsPlacesAndTheExitButtonWritesEverythingBack) {
    writeLibrary(kLibrary);
    launch();
    const std::string main = waitForMainWindow();
    ASSERT_FALSE(main.empty()) << "no visible window titled Tarvik_KXv; the program "
                               << program_.describeEnd() << ", stderr: "
                               << readFile(file("run1.err"));

    auto g = xdo_->geometry(main);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->x, 62);
    EXPECT_EQ(g->y, 6);
    EXPECT_EQ(g->width, 900);
    EXPECT_EQ(g->height, 620);

    // The two other windows exist but are not shown.
    EXPECT_FALSE(windowVisible("Add_Puzzle"));
    EXPECT_FALSE(windowVisible("Message_KXv"));

    // While it runs the library lies beside it in plain form.
    EXPECT_EQ(readFile(file("KXData.dat")), kLibrary)
        << printable(readFile(file("KXData.dat")));

    // No configuration existed: a locked one is created, 7 lines, 218 bytes.
    ASSERT_TRUE(waitUntil([&] { return readFile(file("KXC_CONFIG.INI")).size() >= 218; }, 5s))
        << "config: " << printable(readFile(file("KXC_CONFIG.INI")));
    const std::string config = readFile(file("KXC_CONFIG.INI"));
    EXPECT_EQ(config.size(), 218u);
    EXPECT_EQ(std::count(config.begin(), config.end(), '\n'), 6);
    EXPECT_EQ(config, kDefaultConfig) << printable(config);

    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_TRUE(program_.exitedNormally()) << program_.describeEnd();
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();

    expectFilesOfAnOrderlyExit();
    EXPECT_EQ(readFile(file("run1.err")), "") << "a normal run prints nothing";
}

TEST_F(StartupExit, AnOrdinaryPlayerRunsItAndOwnsTheFilesItWrites) {
    writeLibrary(kLibrary);
    ASSERT_TRUE(giveToUser(dir(), kPlayerAccount)) << "no account " << kPlayerAccount;
    launch({}, kPlayerAccount);
    ASSERT_FALSE(waitForMainWindow().empty())
        << program_.describeEnd() << ", stderr: " << readFile(file("run1.err"));
    ASSERT_TRUE(exitThroughButton()) << "ExitButton did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    expectFilesOfAnOrderlyExit();

    struct stat player {};
    ASSERT_EQ(::stat(dir().c_str(), &player), 0);
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
        struct stat st {};
        ASSERT_EQ(::stat(file(name).c_str(), &st), 0) << name;
        EXPECT_EQ(st.st_uid, player.st_uid) << name << " is not the player's";
    }
}

TEST_F(StartupExit, TerminationSignalLeavesTheSameFilesAsTheExitButton) {
    // The files as an orderly exit leaves them.
    writeLibrary(kLibrary);
    writeFile(file("KXData.dat"), "Data purged...");
    writeFile(file("KXStats.dat"), "0 0 0 0 0 0");
    writeConfig(kDefaultConfig);

    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    EXPECT_EQ(readFile(file("KXData.dat")), kLibrary);

    program_.signal(SIGTERM);
    ASSERT_TRUE(program_.wait(10s)) << "SIGTERM did not end the program";
    EXPECT_TRUE(program_.exitedNormally()) << program_.describeEnd();
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();

    expectFilesOfAnOrderlyExit();
}

TEST_F(StartupExit, StatisticsSurviveTwoOrderlyRuns) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "250 7 3\n40 1 9\n");
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("KXStats.dat")), "250 7 3 40 1 9")
        << printable(readFile(file("KXStats.dat")));

    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    EXPECT_EQ(readFile(file("KXData.dat")), kLibrary) << "the scrambled file did not round-trip";
    ASSERT_TRUE(exitThroughButton());
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_EQ(readFile(file("KXStats.dat")), "250 7 3 40 1 9");
}

TEST_F(StartupExit, AWindowManagerCloseOfAnyWindowEndsTheProgramInOrder) {
    for (const char* title : {"Tarvik_KXv", "Message_KXv"}) {
        SCOPED_TRACE(title);
        writeLibrary(kLibrary);
        writeFile(file("KXStats.dat"), "1 2 3 4 5 6");
        launch();
        ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
        if (std::string(title) == "Message_KXv") {
            xdo_->click(mainX(300), mainY(12));   // the title strip opens it
        }
        const std::string id = waitForWindow(title);
        ASSERT_FALSE(id.empty()) << title << " is not shown";
        x_.requestClose(id);
        ASSERT_TRUE(program_.wait(10s)) << "closing " << title << " did not end the program";
        EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
        EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
        EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
        EXPECT_EQ(readFile(file("KXStats.dat")), "1 2 3 4 5 6");
    }
}

TEST_F(StartupExit, WithoutADisplayItFailsWithOneLineOnStandardError) {
    writeLibrary(kLibrary);
    // No DISPLAY at all, and one naming a server that is not there.
    int unused = 4242;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(unused))) ++unused;
    std::string firstLine;
    for (const std::string& display : {std::string(), ":" + std::to_string(unused)}) {
        Environment env = programEnvironment();
        env["DISPLAY"] = display;
        env["QT_QPA_PLATFORM"] = "";
        env["WAYLAND_DISPLAY"] = "";
        const RunResult r = run({programPath_.string()}, env, 20s);
        ASSERT_TRUE(r.finished) << "the program did not end without a display " << display;
        EXPECT_NE(r.exitCode, 0) << display;
        EXPECT_GE(r.exitCode, 0) << "it must end by itself, not crash: " << display;
        ASSERT_FALSE(r.err.empty()) << "nothing on stderr: " << display;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "stderr: " << r.err;
        EXPECT_EQ(r.err.back(), '\n') << "stderr: " << r.err;
        EXPECT_GT(r.err.size(), 10u) << "stderr: " << r.err;
        if (firstLine.empty()) firstLine = r.err;
        EXPECT_EQ(r.err, firstLine) << "the same words for both";
    }
    // Nothing was written: the folder was never taken.
    EXPECT_FALSE(fs::exists(file("KXData.dat")));
    EXPECT_FALSE(fs::exists(file("KXStats.dat")));
}

}  // namespace
}  // namespace e2e
