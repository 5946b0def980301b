// The few things the Qt desktop asks of the X display directly. Kept apart
// from the Qt code, since the Xlib headers define names that clash with Qt.
#pragma once

#include <cstdint>
#include <string>

namespace platform::qt::xdisplay {

// The application's own connection to the display (an Xlib Display*), used
// from then on instead of a connection of our own; closeDisplay leaves it.
void useApplicationDisplay(void* display);

// Whether a window manager announces itself on the display
// (_NET_SUPPORTING_WM_CHECK on the root window).
bool windowManagerRunning();

// Sets WM_CLASS of a native window to the given instance and class names.
void setWindowClass(std::uintptr_t window, const std::string& instance, const std::string& cls);

// Sets _NET_WM_WINDOW_TYPE to _NET_WM_WINDOW_TYPE_NORMAL alone.
void setNormalWindowType(std::uintptr_t window);

// Adds _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER to the
// states of an unmapped window, keeping the others, so that a window manager
// gives it no taskbar or pager entry once it is mapped.
void skipTaskbar(std::uintptr_t window);

// Whether any top-level window on the display shows the document of this
// title, alone or after a viewer's name (platform::titleShowsDocument), as its
// _NET_WM_NAME in UTF-8, else WM_NAME. The titles of the window manager's
// _NET_CLIENT_LIST when it keeps one, otherwise of the root window's children
// (and of their own children, where a frame holds the titled window).
bool titledWindowExists(const std::string& utf8Title);

// Brings the running game's main window to the front: the top-level window
// of process pid (_NET_WM_PID) or, failing that, the one with this title and
// WM_CLASS class. Asks the window manager to activate it
// (_NET_ACTIVE_WINDOW) and raises it. False when no such window was found.
bool activateWindowOf(long pid, const std::string& utf8Title, const std::string& cls);

// Closes the connection these functions keep open.
void closeDisplay();

}  // namespace platform::qt::xdisplay
