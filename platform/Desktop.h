// The narrow desktop interface the game logic talks to. Everything the logic
// needs of a windowing desktop goes through here, so the whole game runs
// against the in-memory desktop in tests and against Qt in the real program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The program's three top-level windows.
enum class Window { Main, AddPuzzle, Message };

using ControlId = int;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Left and top inside, right and bottom outside.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A top-level window to create: frameless, at a fixed size, its background
// bitmap laid as a pattern from its origin. An owned window stays above its
// owner and goes with it.
struct WindowSpec {
    Window window;
    const char* className;
    const char* title;
    int left, top, width, height;
    int backgroundBitmap;
    std::optional<Window> owner;
};

enum class ControlKind {
    OwnerDrawButton,   // a bitmap button with a normal and a pressed face
    Picture,           // shows one bitmap, takes the bitmap's size
    TextNoPrefix,      // one line, left-aligned, '&' shows as itself
    TextPrefix,        // one line, left-aligned, '&' marks a mnemonic
    TextCentered,      // centred, wrapped over as many lines as fit
    Edit,              // single line, no border, no horizontal scrolling
};

enum class ControlFont { Default, Interface, Phrase };

using ControlId = int;

// A child control to create, with everything the desktop needs to show it.
struct ControlDescription {
    ControlId id = 0;
    const char* name = "";      // for the toolkit's object names and tests
    ControlKind kind = ControlKind::TextNoPrefix;
    Window parent = Window::Main;
    int left = 0, top = 0, width = 0, height = 0;   // in the parent's client area
    int bitmap = 0;             // pictures: the bitmap assignBitmap shows
    Size bitmapSize;            // and the size it shows at
    int normalFace = 0;         // buttons
    int pressedFace = 0;
    ControlFont font = ControlFont::Default;
    int textLimit = 0;          // edits: 0 = the desktop's default
    bool transparent = false;   // texts: no background of their own (laid over another)
    ControlId stackUnder = 0;   // a control created earlier that stays above this one
};

// Messages delivered to GameWindowProc.
enum class Message {
    Command,       // wParam: control id (low 16 bits)
    LButtonDown,   // lParam: client x in the low word, y in the high word
    LButtonUp,     // lParam as for LButtonDown
    KeyDown,       // wParam: virtual key code
    Timer,         // wParam: timer id
    Destroy,
    Close,         // the window manager, Alt+F4 or the session asks to close
};

// Virtual key codes of the arrow keys.
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;

// Virtual key codes the keyboard mode reads besides the arrows and letters
// ('A'..'Z' are 0x41..0x5A).
inline constexpr int VK_ESCAPE = 0x1B;

// What a screen reader is told a control is, beyond what its kind says.
enum class AccessibleRole {
    Standard,    // as its kind: button, text, picture, edit
    Pressable,   // a picture that acts when clicked: a button whose Press clicks its middle
    Hidden,      // left out: its text is told by another control
};

enum class AccessibleState {
    Checked,       // a switch that is on, the current player
    Unavailable,   // cannot be used now (a letter already guessed)
};

// Message box styles used by the program.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_TOPMOST = 0x40000;

// Packs a client point the way LButtonDown carries it.
inline std::intptr_t pointToLParam(Point p) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(p.x & 0xFFFF));
}
inline Point lParamToPoint(std::intptr_t lParam) {
    auto v = static_cast<std::uint32_t>(lParam);
    return {static_cast<int>(v & 0xFFFF), static_cast<int>((v >> 16) & 0xFFFF)};
}

class Desktop {
public:
    virtual ~Desktop() = default;

    // Creation, in the order start-up calls it.
    virtual Size screenSize() = 0;
    virtual void createWindow(const WindowSpec& window) = 0;
    virtual void createControl(const ControlDescription& control) = 0;
    virtual void assignBitmap(ControlId id) = 0;   // the picture's bitmap from its description
    // The wave resources playWave may be asked for, so the desktop can make
    // them ready before the first.
    virtual void registerWaves(const std::vector<int>& resources) = 0;

    // Top-level windows.
    virtual void showWindow(Window w) = 0;         // also restores a minimised window
    virtual void hideWindow(Window w) = 0;
    virtual void minimizeWindow(Window w) = 0;
    virtual void moveWindow(Window w, int left, int top, int width, int height) = 0;
    virtual Rect windowRect(Window w) = 0;         // screen coordinates
    virtual void setFocus(Window w) = 0;
    virtual void destroyWindow(Window w) = 0;      // owned windows go with it
    virtual Point clientToScreen(Window w, Point client) = 0;

    // Controls (identifiers are unique across the three windows).
    virtual void showControl(ControlId id) = 0;
    virtual void hideControl(ControlId id) = 0;
    virtual void setText(ControlId id, const std::string& text) = 0;  // single-byte text
    virtual std::string text(ControlId id) = 0;
    virtual int textLength(ControlId id) = 0;
    virtual Rect controlRect(ControlId id) = 0;    // screen coordinates

    // Effects.
    virtual void beep() = 0;                       // the default beep
    virtual void playWave(int resource) = 0;       // async; replaces the wave playing
    virtual void startTimer(Window w, int timerId, int milliseconds) = 0;  // replaces a running one
    virtual void stopTimer(Window w, int timerId) = 0;
    // A modal box without owner; returns when it is dismissed.
    virtual void messageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // Opens the document in the desktop's default viewer; false when it could not.
    virtual bool openDocument(const std::string& path) = 0;
    // Whether any top-level window on the desktop shows the document of this
    // title: bears it alone or after a viewer's name (titleShowsDocument).
    virtual bool topLevelWindowExists(const std::string& title) = 0;

    // Assistive technology. The logic pushes every name, description, state
    // and notice; a desktop without a screen reader may drop them.
    virtual void setAccessibleRole(ControlId, AccessibleRole) {}
    virtual void setAccessibleName(ControlId, const std::string& /*name*/) {}
    virtual void setAccessibleDescription(ControlId, const std::string& /*text*/) {}
    virtual void setAccessibleState(ControlId, AccessibleState, bool /*on*/) {}
    // A top-level window's words that only its background picture shows.
    virtual void setWindowDescription(Window, const std::string& /*text*/) {}
    // Spoken by a screen reader without the player asking.
    virtual void announce(const std::string& /*text*/) {}

    // Keyboard play: with it on, the buttons and edits of focusOrder take the
    // focus in that order (Tab, Shift+Tab) with a visible ring, Space and
    // Return press the focused button, and keys reach the window procedure
    // while a button has the focus as while the window has it; Escape too
    // while an edit has it. Off, nothing but the windows and edits takes it.
    virtual void setKeyboardMode(bool /*on*/, const std::vector<ControlId>& /*focusOrder*/) {}
    // Return in the edit presses the button (while keyboard play is on).
    virtual void setReturnButton(ControlId /*edit*/, ControlId /*button*/) {}

    // The message loop.
    virtual void postQuit(int exitCode) = 0;
    // What the desktop does with a message the logic leaves to it.
    virtual void defaultProcessing(Window w, Message m) = 0;
};

// The desktop in use, program-wide.
Desktop& desktop();
void setDesktop(Desktop* d);

// The one window procedure all three windows share; the desktop delivers
// every message through sendMessage.
using WindowProc = long (*)(Window, Message, std::uintptr_t wParam, std::intptr_t lParam);
void setWindowProc(WindowProc proc);
long sendMessage(Window w, Message m, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

}  // namespace platform
