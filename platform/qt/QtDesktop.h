// The desktop interface on Qt Widgets: the three frameless windows, their
// controls, sound, timers, message boxes, the document opener and the title
// search.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>

#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"

class QEventLoop;
class QTimer;
class QWidget;

namespace platform::qt {

class TopWindow;
class WavePlayer;

class QtDesktop : public QObject, public platform::Desktop {
    Q_OBJECT
public:
    QtDesktop();
    ~QtDesktop() override;

    Size screenSize() override;
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
    // Assistive technology and keyboard play (QtDesktopAccess.cpp).
    void setAccessibleRole(ControlId id, AccessibleRole role) override;
    void setAccessibleName(ControlId id, const std::string& name) override;
    void setAccessibleDescription(ControlId id, const std::string& text) override;
    void setAccessibleState(ControlId id, AccessibleState state, bool on) override;
    void setWindowDescription(Window w, const std::string& text) override;
    void announce(const std::string& text) override;
    void setKeyboardMode(bool on, const std::vector<ControlId>& focusOrder) override;
    void setReturnButton(ControlId edit, ControlId button) override;

    // Runs the message loop until the quit is posted (at once when it was
    // posted already) and returns the exit code.
    int runMessageLoop();
    bool quitPosted() const { return quitPosted_; }
    int exitCode() const { return exitCode_; }

    // For tests and the display checks: the widgets behind the ids.
    QWidget* windowWidget(Window w) const;
    QWidget* controlWidget(ControlId id) const;
    WavePlayer& wavePlayer() { return *player_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct WindowEntry {
        QPointer<TopWindow> widget;
        bool destroyed = false;
        bool iconic = false;   // minimised where no window manager can do it
        std::string title;
        std::string className;
        std::optional<Window> owner;
        bool native = false;   // whether its native window exists
    };
    struct ControlEntry {
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::TextNoPrefix;
        Window parent = Window::Main;
        int bitmap = 0;     // pictures
        Size bitmapSize;
        std::string text;   // the text of controls that do not show one
    };

    TopWindow* live(Window w) const;
    void makeNative(Window w);
    const ControlEntry* control(ControlId id) const;
    void stopTimersOf(Window w);
    void prepareSound();

    std::map<Window, WindowEntry> windows_;
    std::map<ControlId, ControlEntry> controls_;
    std::map<std::pair<Window, int>, QTimer*> timers_;
    std::vector<QPointer<QEventLoop>> boxLoops_;
    std::unique_ptr<WavePlayer> player_;
    std::map<QObject*, int> unshownPictures_;   // picture -> its bitmap, decoded when first shown
    std::vector<int> waves_;                    // the waves to make ready before the first cue
    QFont desktopFont_;           // the application's font as the desktop gave it
    bool onX11_ = false;
    bool iconSet_ = false;        // the program's icon, set before the first native window
    bool soundPrepared_ = false;
    bool loopRunning_ = false;
    bool quitPosted_ = false;
    int exitCode_ = 0;
};

}  // namespace platform::qt
