// A desktop held in memory, for tests: it records every call in order and
// keeps each window's and control's visibility, text and rectangle. It is
// as strict as a real desktop is silent: any operation on a window or control
// that was never created is a fault, reported with its id (see faultHandler).
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace platform {

class MemoryDesktop : public Desktop {
public:
    struct WindowState {
        bool created = false;
        bool visible = false;
        bool minimized = false;
        bool destroyed = false;
        Rect rect;
        std::string title;
    };
    struct ControlState {
        bool created = false;
        bool visible = false;
        bool bitmapAssigned = false;
        Window parent = Window::Main;
        int left = 0, top = 0, width = 0, height = 0;   // in the parent
        int textLimit = 0;
        std::string text;
        ControlDescription description;
        // What a screen reader is told (kept apart from the call log).
        AccessibleRole role = AccessibleRole::Standard;
        std::string accessibleName;
        std::string accessibleDescription;
        std::set<AccessibleState> states;
    };
    struct MessageBoxCall {
        std::string text;
        std::string caption;
        unsigned style = 0;
    };

    explicit MemoryDesktop(Size screen = {1024, 768}) : screen_(screen) {}

    // Desktop
    Size screenSize() override { return screen_; }
    void createWindow(const WindowSpec& window) override;
    void createControl(const ControlDescription& control) override;
    void assignBitmap(ControlId id) override;
    void registerWaves(const std::vector<int>& resources) override;
    void showWindow(Window w) override;
    void hideWindow(Window w) override;
    void minimizeWindow(Window w) override;
    void moveWindow(Window w, int left, int top, int width, int height) override;
    Rect windowRect(Window w) override;
    void setFocus(Window w) override;
    void destroyWindow(Window w) override;
    Point clientToScreen(Window w, Point client) override;
    void showControl(ControlId id) override;
    void hideControl(ControlId id) override;
    void setText(ControlId id, const std::string& text) override;
    std::string text(ControlId id) override;
    int textLength(ControlId id) override;
    Rect controlRect(ControlId id) override;
    void beep() override;
    void playWave(int resource) override;
    void startTimer(Window w, int timerId, int milliseconds) override;
    void stopTimer(Window w, int timerId) override;
    void messageBox(const std::string& text, const std::string& caption, unsigned style) override;
    bool openDocument(const std::string& path) override;
    bool topLevelWindowExists(const std::string& title) override;
    void postQuit(int exitCode) override;
    void defaultProcessing(Window w, Message m) override;
    void setAccessibleRole(ControlId id, AccessibleRole role) override;
    void setAccessibleName(ControlId id, const std::string& name) override;
    void setAccessibleDescription(ControlId id, const std::string& text) override;
    void setAccessibleState(ControlId id, AccessibleState state, bool on) override;
    void setWindowDescription(Window w, const std::string& text) override;
    void announce(const std::string& text) override;
    void setKeyboardMode(bool on, const std::vector<ControlId>& focusOrder) override;
    void setReturnButton(ControlId edit, ControlId button) override;

    // Inspection.
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    // Calls whose text starts with prefix, in order.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    int count(const std::string& call) const;
    int beeps() const { return count("beep"); }
    std::vector<int> wavesPlayed() const;

    WindowState& window(Window w) { return windows_[w]; }
    ControlState& control(ControlId id) { return controls_[id]; }
    bool visible(ControlId id) { return controls_[id].visible; }
    bool windowVisible(Window w) { return windows_[w].visible; }
    bool hasFocus(Window w) const { return focus_ == w && focusSet_; }
    bool timerRunning(Window w, int timerId) const { return timers_.count({w, timerId}) != 0; }
    bool quitPosted() const { return quitPosted_; }
    int exitCode() const { return exitCode_; }
    const std::vector<MessageBoxCall>& messageBoxes() const { return boxes_; }
    const std::vector<std::string>& openedDocuments() const { return opened_; }
    const std::vector<std::string>& announcements() const { return announcements_; }
    void clearAnnouncements() { announcements_.clear(); }
    bool hasState(ControlId id, AccessibleState s) { return controls_[id].states.count(s) != 0; }
    const std::string& windowDescription(Window w) { return windowDescriptions_[w]; }
    bool keyboardMode() const { return keyboardMode_; }
    const std::vector<ControlId>& focusOrder() const { return focusOrder_; }

    const std::vector<int>& registeredWaves() const { return waves_; }

    // What a fault does: by default it is printed and the process aborts;
    // the tests make it a failure of the test that caused it.
    using FaultHandler = void (*)(const std::string& what);
    static void setFaultHandler(FaultHandler handler);

    // Test controls.
    // What typing into an edit field does (no limits applied here).
    void type(ControlId id, const std::string& text);
    void setOpenDocumentResult(bool ok) { openResult_ = ok; }
    void addForeignWindowTitle(const std::string& title) { foreignTitles_.insert(title); }
    void removeForeignWindowTitle(const std::string& title) { foreignTitles_.erase(title); }
    // Runs while a message box is open, as the box's modal loop would.
    std::function<void(const MessageBoxCall&)> whileMessageBoxOpen;

    // Delivers a left click at a client point of w (down, then up).
    void click(Window w, Point client);
    // The client point of the middle of a control, in the coordinates of w.
    Point centreOf(ControlId id, Window w = Window::Main);
    void pressButton(ControlId id);   // a command from a button, to its parent window
    // A key press reaching the window (not an edit).
    void pressKey(Window w, int virtualKey);
    // Return typed in an edit: presses its return button in keyboard play.
    void pressReturnIn(ControlId edit);

private:
    void log(std::string call) { calls_.push_back(std::move(call)); }
    // The state of a window or control that was created; a fault otherwise
    // (then a scratch state, so the caller goes on).
    WindowState& created(Window w, const char* operation);
    ControlState& created(ControlId id, const char* operation);

    Size screen_;
    std::map<Window, WindowState> windows_;
    std::map<ControlId, ControlState> controls_;
    std::map<std::pair<Window, int>, int> timers_;
    std::vector<std::string> calls_;
    std::vector<MessageBoxCall> boxes_;
    std::vector<std::string> opened_;
    std::vector<int> waves_;
    WindowState scratchWindow_;
    ControlState scratchControl_;
    std::set<std::string> foreignTitles_;
    std::vector<std::string> announcements_;
    std::map<Window, std::string> windowDescriptions_;
    std::vector<ControlId> focusOrder_;
    std::map<ControlId, ControlId> returnButtons_;
    bool keyboardMode_ = false;
    bool openResult_ = true;
    Window focus_ = Window::Main;
    bool focusSet_ = false;
    bool quitPosted_ = false;
    int exitCode_ = -1;
};

const char* windowName(Window w);

}  // namespace platform
