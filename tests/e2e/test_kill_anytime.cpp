// kill -9 at random moments of start-up, play, add, delete and exit, on a
// library of a few megabytes: after every kill the scrambled library holds
// exactly the changes made before it (a change still under way may be
// there or not, but whole), and the next start goes on from there.
#include <csignal>
#include <cstdlib>
#include <random>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kDefaultSeed = 20261208;
constexpr int kKills = 100;
const std::string kFirstRecord = "first;opening record:";

std::string severalMegabytes() {
    std::string out = kFirstRecord;
    for (int i = 0; out.size() < 3 * 1024 * 1024; ++i) {
        out += "phrase number " + std::to_string(i) + ";hint " + std::to_string(i) + ":";
    }
    return out + "last;closing record:";
}

class KillAnytime : public ProgramTest {
protected:
    enum Phase { StartUp, Play, Add, Delete, Exit, kPhases };
    static const char* name(int phase) {
        static const char* const names[] = {"start-up", "play", "add", "delete", "exit"};
        return names[phase];
    }

    std::mt19937 rng;
    // A random stretch before a kill: where in the program's work the kill
    // lands is what the test varies, so these pauses are the test's own
    // durations and wait for nothing.
    std::chrono::milliseconds pause(int maxMs) {
        return std::chrono::milliseconds(std::uniform_int_distribution<int>(0, maxMs)(rng));
    }
    bool coin() { return std::uniform_int_distribution<int>(0, 1)(rng) == 1; }

    bool plainBecomes(const std::string& bytes) {
        return waitUntil([&] { return readFile(file("KXData.dat")) == bytes; }, 10s, 10ms);
    }
    void killNow() {
        program_.signal(SIGKILL);
        program_.wait(5s);
    }
};

TEST_F(KillAnytime, TheLibraryHoldsExactlyTheChangesMadeBeforeEachKill) {
    unsigned seed = kDefaultSeed;
    if (const char* s = std::getenv("TARVIK_KILL_SEED")) seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
    rng.seed(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + " (rerun with TARVIK_KILL_SEED=" + std::to_string(seed) + ")");

    std::string library = severalMegabytes();
    writeLibrary(library);
    writeConfig(kUnlockedConfig);
    int added = 0;

    for (int kill = 0; kill < kKills; ++kill) {
        const int phase = std::uniform_int_distribution<int>(0, kPhases - 1)(rng);
        SCOPED_TRACE("kill " + std::to_string(kill + 1) + " during " + name(phase));
        // What the library may hold after this kill: before the change, or after it.
        std::string before = library;
        std::string after = library;
        bool mustBeAfter = false;

        launch();
        if (phase == StartUp) {
            sleepFor(pause(700));   // kill at a random moment of the start-up
        } else {
            ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
            if (phase == Play) {
                clickControl(ui::id::NewGameButton);
                for (char c : std::string("ETAONRIS")) {
                    clickTile(c);
                }
                sleepFor(pause(400));   // kill at a random moment of the play
            } else if (phase == Add || phase == Delete) {
                clickControl(ui::id::AddPuzzlesButton);
                ASSERT_FALSE(waitForWindow("Add_Puzzle").empty());
                if (phase == Add) {
                    const std::string phrase = "killed add " + std::to_string(++added);
                    ASSERT_TRUE(typeInto(ui::id::PhraseEdit, phrase)) << "PhraseEdit does not get the focus";
                    after = library + phrase + ";no hint available:";
                } else {
                    clickControl(ui::id::ViewButton);
                    // The record on show is the first one.
                    const auto end = library.find(':');
                    after = library.substr(end + 1);
                }
                clickControl(phase == Add ? ui::id::AddButton : ui::id::DeleteButton);
                if (coin()) {
                    // Kill only once the change is done: then it must be kept.
                    ASSERT_TRUE(plainBecomes(after)) << "the " << name(phase) << " did not happen";
                    mustBeAfter = true;
                }
                sleepFor(pause(250));   // kill at a random moment of the write, or after it
            } else {
                clickControl(ui::id::ExitButton);
                sleepFor(pause(250));   // kill at a random moment of the exit's writes
            }
        }
        killNow();

        const std::string stored = unscramble(readFile(file("OnLoad.dat")));
        if (mustBeAfter) {
            ASSERT_TRUE(stored == after) << "a finished change was lost; " << stored.size() << " bytes stored";
        } else {
            ASSERT_TRUE(stored == before || stored == after)
                << "the library is neither before nor after the change: " << stored.size() << " bytes, expected "
                << before.size() << " or " << after.size();
        }
        library = stored;
    }

    // A last orderly run: it starts from what the kills left and ends cleanly.
    launch();
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    EXPECT_EQ(readFile(file("KXData.dat")).size(), library.size());
    ASSERT_TRUE(exitThroughButton());
    EXPECT_TRUE(readFile(file("OnLoad.dat")) == scramble(library));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    for (const auto& e : fs::directory_iterator(dir())) {
        const std::string n = e.path().filename().string();
        EXPECT_FALSE(n.rfind("OnLoad.dat.", 0) == 0 || n.rfind("KXData.dat.", 0) == 0 || n.rfind("KXStats.dat.", 0) == 0)
            << "left behind: " << n;
    }
}

}  // namespace
}  // namespace e2e
