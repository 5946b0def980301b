// Under a real window manager (openbox) the add-puzzle and message windows
// belong to the main window: transient for it, above it whatever is
// clicked, minimised and restored with it, without taskbar entries of their
// own, and where the program puts them.
#include <algorithm>
#include <sstream>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

class OwnedWindows : public WindowManagerTest {
protected:
    // A window property as xprop prints it, after the '=' or ':'.
    std::string property(const std::string& window, const std::string& name) {
        const std::vector<std::string> where =
            window.empty() ? std::vector<std::string>{"-root"} : std::vector<std::string>{"-id", window};
        std::vector<std::string> argv = {"xprop"};
        argv.insert(argv.end(), where.begin(), where.end());
        argv.push_back(name);
        return run(argv, {{"DISPLAY", x_.display()}}).out;
    }
    // The windows of a WINDOW-list property, as decimal ids.
    std::vector<std::string> windowList(const std::string& window, const std::string& name) {
        std::vector<std::string> out;
        std::string text = property(window, name);
        const auto hash = text.find('#');
        if (hash == std::string::npos) return out;
        std::stringstream items(text.substr(hash + 1));
        std::string item;
        while (std::getline(items, item, ',')) out.push_back(std::to_string(std::stoul(item, nullptr, 16)));
        return out;
    }
    // Where a window stands in the manager's stacking order (bottom 0), or -1.
    int stackPosition(const std::string& window) {
        const auto stack = windowList("", "_NET_CLIENT_LIST_STACKING");
        for (std::size_t i = 0; i < stack.size(); ++i) {
            if (stack[i] == window) return static_cast<int>(i);
        }
        return -1;
    }
    // Whether the window's own background shows on the screen where it stands.
    bool showsItsBackground(const std::string& window, int bitmap) {
        const auto g = xdo_->geometry(window);
        if (!g) return false;
        const QImage shot = settledScreenshot();
        // A patch at the background's left edge, clear of the controls, in
        // the part of the window that is on the screen.
        const int dy = std::max(0, -g->y) + 10;
        const QImage patch = sourceBitmap(bitmap).copy(0, dy, 60, 30);
        return matchFraction(shot, g->x, g->y + dy, patch, 12, 2) > 0.9;
    }
    bool active(const std::string& window) {
        return waitUntil([&] { return windowList("", "_NET_ACTIVE_WINDOW") == std::vector<std::string>{window}; }, 3s);
    }
    // With the owned window focused, clicks at (x, y) on the main window and
    // waits until the manager has handled the click: the main window is the
    // active one then.
    bool clickMain(const std::string& owned, int x, int y) {
        xdo_->focus(owned);
        if (!active(owned)) {
            ADD_FAILURE() << "the owned window does not take the focus";
            return false;
        }
        xdo_->click(x, y);
        return active(main_);
    }
    // Waits until the window stands above the main window in the stacking order.
    bool above(const std::string& window) {
        return waitUntil([&] { return stackPosition(window) > stackPosition(main_); }, 3s);
    }
    bool gone(const std::string& title) {
        return waitUntil([&] { return !windowVisible(title); }, 5s);
    }

    // The game with editing unlocked, its main window shown.
    void startUnlocked() {
        writeLibrary("first;opening record:kiwi tea;a drink:kiwi tea;a drink:last;closing record:");
        writeConfig(kUnlockedConfig);
        launch();
        main_ = waitForMainWindow();
        ASSERT_FALSE(main_.empty()) << program_.describeEnd();
    }

    // An owned window: transient for the main one, left where the program
    // put it, and without a taskbar entry of its own.
    void expectOwned(const std::string& window, int left, int top, const char* name) {
        SCOPED_TRACE(name);
        EXPECT_EQ(windowList(window, "WM_TRANSIENT_FOR"), std::vector<std::string>{main_});
        const auto at = xdo_->geometry(window);
        ASSERT_TRUE(at.has_value());
        EXPECT_EQ(at->x, left) << "the manager moved the window";
        EXPECT_EQ(at->y, top) << "the manager moved the window";
        EXPECT_NE(property(window, "_NET_WM_STATE").find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos)
            << "the window has a taskbar entry of its own";
    }

    std::string main_;
};

TEST_F(OwnedWindows, AreTransientForTheMainWindowAndStayAboveIt) {
    ASSERT_NO_FATAL_FAILURE(startUnlocked());

    // The message window, from the title strip.
    xdo_->click(mainX(300), mainY(12));
    const std::string message = waitForWindow("Message_KXv");
    ASSERT_FALSE(message.empty()) << "the title strip does not open the message window";
    expectOwned(message, kMessageLeft, kMessageTop, "the message window");
    // The main window, beside the message window.
    ASSERT_TRUE(clickMain(message, mainX(100), mainY(300))) << "a click on the main window does not activate it";
    EXPECT_GT(stackPosition(message), stackPosition(main_)) << "a click on the main window covers the message window";
    EXPECT_TRUE(showsItsBackground(message, 1870));
    clickControl(ui::id::MessageCloseButton);
    ASSERT_TRUE(gone("Message_KXv"));

    // The add-puzzle window.
    clickControl(ui::id::AddPuzzlesButton);
    const std::string add = waitForWindow("Add_Puzzle");
    ASSERT_FALSE(add.empty()) << "AddPuzzlesButton does not open the add window";
    // Where the program puts it, partly above the screen, as without a manager.
    expectOwned(add, kAddLeft, kAddTop, "the add window");
    EXPECT_EQ(property(main_, "WM_TRANSIENT_FOR").find("window id"), std::string::npos)
        << "the main window is transient for something";
    // Clicks on the main window, on its background and on a button, leave
    // the add window above it.
    for (auto click : {std::pair{mainX(30), mainY(600)}, std::pair{controlOnScreen(ui::id::PlayerOneButton).centreX(),
                                                                   controlOnScreen(ui::id::PlayerOneButton).centreY()}}) {
        ASSERT_TRUE(clickMain(add, click.first, click.second)) << "a click on the main window does not activate it";
        EXPECT_GT(stackPosition(add), stackPosition(main_)) << "a click on the main window covers the add window";
        EXPECT_TRUE(showsItsBackground(add, 100)) << "the add window is not in sight";
    }
    // A second open of the add window through the taskbar list is not
    // possible: only the main window is a taskbar client.
    const auto clients = windowList("", "_NET_CLIENT_LIST");
    EXPECT_NE(std::find(clients.begin(), clients.end(), main_), clients.end());
}

TEST_F(OwnedWindows, GoAndComeBackWithTheMainWindow) {
    ASSERT_NO_FATAL_FAILURE(startUnlocked());

    // The message window first.
    xdo_->click(mainX(300), mainY(12));
    ASSERT_FALSE(waitForWindow("Message_KXv").empty());
    clickControl(ui::id::MinimizeButton);
    EXPECT_TRUE(gone("Tarvik_KXv")) << "MinimizeButton does not minimise the main window";
    EXPECT_TRUE(gone("Message_KXv")) << "the message window stays on screen when the main window is minimised";
    run({"xdotool", "windowactivate", "--sync", main_}, {{"DISPLAY", x_.display()}});
    EXPECT_FALSE(waitForWindow("Tarvik_KXv").empty()) << "the main window does not come back";
    const std::string message = waitForWindow("Message_KXv");
    ASSERT_FALSE(message.empty()) << "the message window does not come back with the main window";
    EXPECT_TRUE(above(message)) << "the message window comes back below the main window";
    clickControl(ui::id::MessageCloseButton);
    ASSERT_TRUE(gone("Message_KXv"));

    // Then the add window.
    clickControl(ui::id::AddPuzzlesButton);
    ASSERT_FALSE(waitForWindow("Add_Puzzle").empty());
    clickControl(ui::id::MinimizeButton);
    EXPECT_TRUE(gone("Tarvik_KXv"));
    EXPECT_TRUE(gone("Add_Puzzle")) << "the add window stays on screen when the main window is minimised";
    run({"xdotool", "windowactivate", "--sync", main_}, {{"DISPLAY", x_.display()}});
    EXPECT_FALSE(waitForWindow("Tarvik_KXv").empty());
    const std::string add = waitForWindow("Add_Puzzle");
    ASSERT_FALSE(add.empty()) << "the add window does not come back with the main window";
    EXPECT_TRUE(above(add)) << "the add window comes back below the main window";
    EXPECT_TRUE(showsItsBackground(add, 100));
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

}  // namespace
}  // namespace e2e
