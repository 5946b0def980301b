// The game as a screen-reader user and a keyboard-only player meet it: a
// private session bus with the accessibility bus on it, switched on as a
// desktop with a screen reader does; the tree read and the game played
// through AT-SPI (atspi_probe.py, pyatspi); Orca itself, its speech taken
// from its debug output; keyboard play through xdotool.
#include <fstream>
#include <sstream>

#include "Harness.h"
#include "ui/AccessibleNames.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kProbe = std::string(TARVIK_SOURCE_DIR) + "/tests/e2e/helper/atspi_probe.py";
const std::string kPython = "/usr/bin/python3";

struct Node {
    std::string window, role, name, states, actions;
    bool has(const std::string& state) const {
        return ("," + states + ",").find("," + state + ",") != std::string::npos;
    }
};

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) out.push_back(part);
    if (!s.empty() && s.back() == sep) out.emplace_back();
    return out;
}

class Accessibility : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        for (const char* tool : {"dbus-daemon", "gdbus", "orca"})
            ASSERT_FALSE(findOnPath(tool).empty()) << tool << " missing: scripts/install-deps.sh --test";
        ASSERT_TRUE(fs::exists("/usr/libexec/at-spi-bus-launcher"));
        busAddress_ = "unix:path=" + (dir() / "session-bus").string();
        ASSERT_TRUE(bus_.start({"dbus-daemon", "--session", "--nofork", "--address=" + busAddress_}, {}, dir(),
                               dir() / "bus.out", dir() / "bus.err"));
        ASSERT_TRUE(waitUntil([&] { return fs::exists(dir() / "session-bus"); }, 10s));
        ASSERT_TRUE(atspi_.start({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, busEnvironment(),
                                 dir(), dir() / "atspi.out", dir() / "atspi.err"));
        // What a desktop does when a screen reader runs.
        for (const char* property : {"IsEnabled", "ScreenReaderEnabled"}) {
            ASSERT_TRUE(waitUntil(
                [&] {
                    return run({"gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                                "/org/a11y/bus", "--method", "org.freedesktop.DBus.Properties.Set",
                                "org.a11y.Status", property, "<true>"},
                               busEnvironment(), 5s)
                               .exitCode == 0;
                },
                15s, 100ms))
                << property;
        }
    }
    void TearDown() override {
        orca_.kill();
        ProgramTest::TearDown();
        atspi_.kill();
        bus_.kill();
    }

    Environment busEnvironment() const {
        return {{"DBUS_SESSION_BUS_ADDRESS", busAddress_}, {"DISPLAY", x_.display()}, {"HOME", (dir() / "home").string()},
                {"XDG_RUNTIME_DIR", (dir() / "runtime").string()}, {"XDG_DATA_HOME", (dir() / "home/.local/share").string()}};
    }

    // Starts the game (with its arguments) on the bus and waits until its
    // window is on the bus too.
    void startGame(const std::vector<std::string>& args = {}) {
        program_.reset();
        Environment env = programEnvironment();
        env["DBUS_SESSION_BUS_ADDRESS"] = busAddress_;
        std::vector<std::string> argv{programPath_.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        ASSERT_TRUE(program_.start(argv, env, dir(), dir() / "game.out", dir() / "game.err"));
        ASSERT_FALSE(waitForMainWindow().empty());
        ASSERT_TRUE(waitUntil([&] { return !find("Tarvik_KXv", "New Game").name.empty(); }, 15s, 100ms))
            << "the game never showed on the accessibility bus";
    }

    std::vector<Node> tree() {
        const RunResult r = run({kPython, kProbe, "tree"}, busEnvironment(), 20s);
        std::vector<Node> nodes;
        for (const std::string& l : split(r.out, '\n')) {
            const auto f = split(l, '\t');
            if (f.size() >= 5) nodes.push_back({f[0], f[1], f[2], f[3], f[4]});
        }
        return nodes;
    }
    Node find(const std::string& window, const std::string& name) {
        for (const Node& n : tree()) {
            if (n.window == window && n.name == name) return n;
        }
        return {};
    }
    // The name of the shown object whose name starts with prefix.
    std::string named(const std::string& prefix) {
        for (const Node& n : tree()) {
            if (n.name.rfind(prefix, 0) == 0 && n.has("showing")) return n.name;
        }
        return {};
    }
    // Waits until a shown object's name starting with prefix is exactly `name`.
    bool waitForName(const std::string& prefix, const std::string& name, std::chrono::milliseconds timeout = 10s) {
        return waitUntil([&] { return named(prefix) == name; }, timeout, 100ms);
    }
    void press(const std::string& name, const std::string& window = "Tarvik_KXv") {
        ASSERT_EQ(run({kPython, kProbe, "press", window, name}, busEnvironment(), 20s).exitCode, 0) << name;
    }
    std::string focused() { return run({kPython, kProbe, "focused"}, busEnvironment(), 20s).out; }

    // Orca with speech and braille off (none is needed: what it says is in
    // its debug output, written line by line).
    void startOrca() {
        const fs::path data = dir() / "home/.local/share/orca";
        fs::create_directories(data);
        writeFile(data / "user-settings.conf",
                  R"({"general": {"enableSpeech": false, "enableBraille": false,)"
                  R"( "activeProfile": ["Default", "default"], "startingProfile": ["Default", "default"]},)"
                  R"( "profiles": {"default": {"profile": ["Default", "default"], "enableSpeech": false,)"
                  R"( "enableBraille": false}}, "pronunciations": {}, "keybindings": {}})");
        writeFile(data / "orca-customizations.py",
                  "import orca.debug\norca.debug.debugLevel = orca.debug.LEVEL_INFO\n"
                  "orca.debug.debugFile = open('" + (dir() / "orca.log").string() + "', 'w', buffering=1)\n");
        ASSERT_TRUE(orca_.start({"orca", "--replace"}, busEnvironment(), dir(), dir() / "orca.out", dir() / "orca.err"));
        ASSERT_TRUE(waitForSpeech("Tarvik_KXv frame", 30s)) << readFile(dir() / "orca.err");
    }
    std::string speech() {
        std::string said;
        std::istringstream in(readFile(dir() / "orca.log"));
        std::string l;
        while (std::getline(in, l)) {
            const auto at = l.find("SPEECH OUTPUT: '");
            if (at != std::string::npos) said += l.substr(at + 16) + "\n";
        }
        return said;
    }
    bool waitForSpeech(const std::string& words, std::chrono::milliseconds timeout = 10s) {
        return waitUntil([&] { return speech().find(words) != std::string::npos; }, timeout, 100ms);
    }

    Process bus_, atspi_, orca_;
    std::string busAddress_;
};

// One phrase, so every game is known: "TIN CAN", hint "Container".
const char* const kLibrary = "first;x:tin can;Container:tin can;Container:tin can;Container:last;x:";

TEST_F(Accessibility, EveryShownControlHasItsNameAndRole) {
    writeLibrary(kLibrary);
    writeConfig(kUnlockedConfig);
    startGame();
    xdo_->click(mainX(100), mainY(10));   // the title strip opens the message window
    ASSERT_FALSE(waitForWindow("Message_KXv").empty());
    press("Add Puzzles");
    ASSERT_FALSE(waitForWindow("Add_Puzzle").empty());
    ASSERT_TRUE(waitUntil([&] { return !find("Message_KXv", "OK").name.empty(); }, 10s, 100ms));

    const std::vector<Node> nodes = tree();
    const auto windowTitle = [](platform::Window w) {
        return w == platform::Window::Main ? "Tarvik_KXv" : w == platform::Window::AddPuzzle ? "Add_Puzzle" : "Message_KXv";
    };
    for (const ui::ControlSpec& c : ui::controlTable) {
        const ui::AccessibleRow* a = ui::findAccessible(c.id);
        std::vector<const Node*> matches;
        for (const Node& n : nodes) {
            if (n.window != windowTitle(c.parent)) continue;
            // A text's name is its label and its value: "Player 1 score 0".
            const bool text = c.kind != ui::ControlKind::OwnerDrawButton && c.kind != ui::ControlKind::Edit &&
                              c.kind != ui::ControlKind::Picture;
            if (text ? n.name.rfind(a->name, 0) == 0 && n.role == "label" : n.name == a->name) matches.push_back(&n);
        }
        if (a->role == platform::AccessibleRole::Hidden) {
            // Left out: no nameless text, and the phrase is read once.
            int phrases = 0;
            for (const Node& n : nodes) {
                if (n.window != windowTitle(c.parent) || n.role != "label") continue;
                EXPECT_FALSE(n.name.empty()) << c.name << " is in the tree";
                if (n.name.rfind("Phrase", 0) == 0) ++phrases;
            }
            EXPECT_EQ(phrases, 1);
            continue;
        }
        if (!c.visibleAtStart) continue;   // in the tree, not shown: checked where a game shows it
        ASSERT_EQ(matches.size(), 1u) << c.name << " named \"" << a->name << "\"";
        const Node& n = *matches.front();
        const char* role = c.kind == ui::ControlKind::Edit ? "text"
                           : c.kind == ui::ControlKind::OwnerDrawButton || a->role == platform::AccessibleRole::Pressable
                               ? "push button"
                           : c.kind == ui::ControlKind::Picture ? "image"
                                                                : "label";
        EXPECT_EQ(n.role, role) << c.name;
        EXPECT_TRUE(n.has("showing")) << c.name;
        if (std::string(role) == "push button") {
            EXPECT_NE(n.actions.find("Press"), std::string::npos) << c.name;
        }
    }
    // The words the pictures show are text too.
    EXPECT_EQ(named("Use the arrow keys"), "Use the arrow keys to move the game window");
    EXPECT_NE(named("Your own puzzles"), "");
    EXPECT_TRUE(find("Tarvik_KXv", "Player 1").has("checked"));
    EXPECT_TRUE(find("Tarvik_KXv", "Sound").has("checked"));
    EXPECT_FALSE(find("Tarvik_KXv", "Player 2").has("checked"));
}

TEST_F(Accessibility, AGameWonAndOneLostThroughActionsAlone) {
    writeLibrary(kLibrary);
    startGame();
    press("New Game");
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: blank, blank, blank; blank, blank, blank"));
    EXPECT_EQ(named("Hint"), "Hint: Container");
    press("Letter N");
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: blank, blank, N; blank, blank, N"));
    EXPECT_FALSE(find("Tarvik_KXv", "Letter N").has("showing"));
    EXPECT_FALSE(find("Tarvik_KXv", "Letter N").has("enabled"));
    press("Letter Q");
    ASSERT_TRUE(waitForName("Missed", "Missed: Q"));
    for (const char* letter : {"Letter T", "Letter I", "Letter C"}) press(letter);
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: T, I, N; C, blank, N"));
    press("Letter A");
    ASSERT_TRUE(waitForName("Phrase", "Phrase: TIN CAN"));
    EXPECT_EQ(named("Player 1 score"), "Player 1 score 60");
    EXPECT_EQ(named("Player 1 won"), "Player 1 won 1");

    // Lost: seven misses, then Reveal.
    press("New Game");
    ASSERT_TRUE(waitForName("Missed", "Missed: none"));
    const std::vector<std::string> misses{"Q", "W", "E", "R", "Y", "U", "O"};
    for (std::size_t k = 0; k < misses.size(); ++k) {
        press("Letter " + misses[k]);
        if (k == 2) {
            ASSERT_TRUE(waitForName("Missed", "Missed: Q, W, E"));
        }
    }
    ASSERT_TRUE(waitForName("Player 1 lost", "Player 1 lost 1"));
    EXPECT_EQ(named("Missed"), "Missed: Q, W, E, R, Y, U, O");
    EXPECT_EQ(named("Phrase"), "Phrase, 2 words: blank, blank, blank; blank, blank, blank");
    EXPECT_NE(named("The whole figure"), "");
    press("Reveal");
    ASSERT_TRUE(waitForName("Phrase", "Phrase: TIN CAN"));
    EXPECT_EQ(named("Player 1 score"), "Player 1 score 60");
}

TEST_F(Accessibility, OrcaSaysAButtonAHitAMissAndTheWin) {
    writeLibrary(kLibrary);
    startGame({"--keyboard"});
    startOrca();
    xdo_->key("Tab", 4);   // Minimize, Help, Exit, New Game
    ASSERT_TRUE(waitForSpeech("New Game push button")) << speech();
    xdo_->key("space");
    ASSERT_TRUE(waitForSpeech("New game: 2 words, 6 characters. Hint: Container")) << speech();
    press("Letter T");
    ASSERT_TRUE(waitForSpeech("T: 1 found")) << speech();
    press("Letter Z");
    ASSERT_TRUE(waitForSpeech("Z: not in the phrase, 1 of 7")) << speech();
    for (const char* letter : {"Letter I", "Letter N", "Letter C", "Letter A"}) press(letter);
    ASSERT_TRUE(waitForSpeech("Won! The phrase is TIN CAN. Player 1 scores 60 points, total 60")) << speech();
}

TEST_F(Accessibility, KeyboardPlayWinsByTypingAndTabsThroughEveryButtonInOrder) {
    writeLibrary(kLibrary);
    writeConfig(std::string(kUnlockedConfig) + "Keyboard_Play= 1\n");
    startGame();
    // Tab visits the main window's buttons and its edit in reading order, then wraps.
    std::vector<std::string> expected;
    for (int controlId : ui::focusOrder) {
        if (ui::findControl(controlId)->parent == platform::Window::Main) {
            expected.push_back(ui::findAccessible(controlId)->name);
        }
    }
    for (std::size_t k = 0; k <= expected.size(); ++k) {
        xdo_->key("Tab");
        const std::string want = "Tarvik_KXv\t" + expected[k % expected.size()] + "\n";
        ASSERT_TRUE(waitUntil([&] { return focused() == want; }, 5s, 50ms)) << k << ": " << focused();
    }
    xdo_->key("shift+Tab");
    ASSERT_TRUE(waitUntil([&] { return focused() == "Tarvik_KXv\t" + expected.back() + "\n"; }, 5s, 50ms));
    // The focus on New Game, Return presses it.
    while (focused() != "Tarvik_KXv\tNew Game\n") xdo_->key("Tab");
    // The focused button wears the ring, the others not.
    const QRgb ring = qRgb(0xff, 0xe0, 0x00);
    const auto ringOn = [&](const QImage& shot, int controlId) {
        const ScreenRect r = controlOnScreen(controlId);
        return colourFraction(shot, r.left, r.top, r.width, r.height, ring, 30);
    };
    ASSERT_TRUE(waitUntil([&] { return ringOn(x_.screenshot(), ui::id::NewGameButton) > 0.08; }, 5s));
    EXPECT_LT(ringOn(x_.screenshot(), ui::id::RevealButton), 0.01);
    xdo_->key("Return");
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: blank, blank, blank; blank, blank, blank"));
    xdo_->type("tinca");
    ASSERT_TRUE(waitForName("Phrase", "Phrase: TIN CAN"));
    EXPECT_EQ(named("Player 1 score"), "Player 1 score 70");

    // Return in the guess field presses Guess Phrase.
    xdo_->key("Return");   // New Game still has the focus
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: blank, blank, blank; blank, blank, blank"));
    while (focused() != "Tarvik_KXv\tGuess the phrase\n") xdo_->key("Tab");
    xdo_->type("tin can");
    xdo_->key("Return");
    ASSERT_TRUE(waitForName("Player 1 won", "Player 1 won 2"));
    EXPECT_EQ(named("Phrase"), "Phrase: TIN CAN");
    // Escape closes the add-puzzle window.
    while (focused() != "Tarvik_KXv\tAdd Puzzles\n") xdo_->key("Tab");
    xdo_->key("space");
    ASSERT_FALSE(waitForWindow("Add_Puzzle").empty());
    xdo_->key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !windowVisible("Add_Puzzle"); }, 5s));
}

TEST_F(Accessibility, WithKeyboardPlayOffALetterKeyChangesNothing) {
    writeLibrary(kLibrary);
    startGame();
    press("New Game");
    ASSERT_TRUE(waitForName("Phrase", "Phrase, 2 words: blank, blank, blank; blank, blank, blank"));
    const std::string window = xdo_->search("^Tarvik_KXv$", true).front();
    xdo_->focus(window);
    // The same keyboard reaches the game: an arrow moves the window.
    const Geometry before = *xdo_->geometry(window);
    xdo_->key("Left");
    ASSERT_TRUE(waitUntil([&] { return xdo_->geometry(window)->x == before.x - 2; }, 5s));
    xdo_->type("tinca");
    xdo_->key("Tab");
    xdo_->key("Return");
    xdo_->key("Right");   // a key after the letters, whose effect shows they were handled
    ASSERT_TRUE(waitUntil([&] { return xdo_->geometry(window)->x == before.x; }, 5s));
    EXPECT_EQ(named("Phrase"), "Phrase, 2 words: blank, blank, blank; blank, blank, blank");
    EXPECT_EQ(named("Missed"), "Missed: none");
    EXPECT_TRUE(find("Tarvik_KXv", "Letter T").has("showing"));
}

}  // namespace
}  // namespace e2e
