#include "platform/qt/XDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/DocumentTitle.h"

namespace platform::qt::xdisplay {

namespace {

Display* connection = nullptr;
bool ownConnection = false;

Display* display() {
    if (connection == nullptr) {
        connection = XOpenDisplay(nullptr);
        ownConnection = connection != nullptr;
    }
    return connection;
}

// Reads a whole property; empty when it is missing or of another type.
std::vector<unsigned char> readProperty(Display* d, ::Window w, Atom property, Atom type,
                                        int* formatOut = nullptr, unsigned long* itemsOut = nullptr) {
    std::vector<unsigned char> bytes;
    Atom actualType = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, property, 0, 1L << 20, False, type, &actualType, &format, &items,
                           &after, &data) != Success) {
        return bytes;
    }
    if (data != nullptr && actualType == type && format != 0) {
        // Xlib hands 32-bit items back as longs.
        const std::size_t unit = format == 32 ? sizeof(long) : static_cast<std::size_t>(format / 8);
        bytes.assign(data, data + items * unit);
        if (formatOut != nullptr) *formatOut = format;
        if (itemsOut != nullptr) *itemsOut = items;
    }
    if (data != nullptr) XFree(data);
    return bytes;
}

std::vector<::Window> windowList(Display* d, ::Window w, Atom property) {
    int format = 0;
    unsigned long items = 0;
    const auto bytes = readProperty(d, w, property, XA_WINDOW, &format, &items);
    std::vector<::Window> out;
    if (format != 32) return out;
    const auto* longs = reinterpret_cast<const long*>(bytes.data());
    for (unsigned long i = 0; i < items; ++i) out.push_back(static_cast<::Window>(longs[i]));
    return out;
}

bool hasTitle(Display* d, ::Window w, const std::string& utf8Title, bool* titled) {
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const auto bytes = readProperty(d, w, netWmName, utf8);
    if (!bytes.empty()) {
        *titled = true;
        return platform::titleShowsDocument(std::string(bytes.begin(), bytes.end()), utf8Title);
    }
    XTextProperty prop;
    if (XGetWMName(d, w, &prop) != 0 && prop.value != nullptr) {
        *titled = true;
        bool same = false;
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(d, &prop, &list, &count) >= Success && list != nullptr) {
            same = count > 0 && platform::titleShowsDocument(list[0], utf8Title);
            XFreeStringList(list);
        } else {
            same = platform::titleShowsDocument(
                std::string(reinterpret_cast<const char*>(prop.value), prop.nitems), utf8Title);
        }
        XFree(prop.value);
        return same;
    }
    *titled = false;
    return false;
}

std::vector<::Window> children(Display* d, ::Window w) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* kids = nullptr;
    unsigned int count = 0;
    std::vector<::Window> out;
    if (XQueryTree(d, w, &root, &parent, &kids, &count) != 0 && kids != nullptr) {
        out.assign(kids, kids + count);
        XFree(kids);
    }
    return out;
}

// Windows may vanish while we look at them; such errors are not ours.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

void useApplicationDisplay(void* d) {
    closeDisplay();
    connection = static_cast<Display*>(d);
}

bool windowManagerRunning() {
    Display* d = display();
    if (d == nullptr) return false;
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    return !windowList(d, DefaultRootWindow(d), check).empty();
}

void setWindowClass(std::uintptr_t window, const std::string& instance, const std::string& cls) {
    Display* d = display();
    if (d == nullptr || window == 0) return;
    std::string value = instance;
    value.push_back('\0');
    value += cls;
    value.push_back('\0');
    XChangeProperty(d, static_cast<::Window>(window), XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value.data()),
                    static_cast<int>(value.size()));
    XFlush(d);
}

void setNormalWindowType(std::uintptr_t window) {
    Display* d = display();
    if (d == nullptr || window == 0) return;
    const Atom normal = XInternAtom(d, "_NET_WM_WINDOW_TYPE_NORMAL", False);
    XChangeProperty(d, static_cast<::Window>(window), XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&normal), 1);
    XSync(d, False);
}

void skipTaskbar(std::uintptr_t window) {
    Display* d = display();
    if (d == nullptr || window == 0) return;
    const auto w = static_cast<::Window>(window);
    const Atom state = XInternAtom(d, "_NET_WM_STATE", False);
    std::vector<Atom> atoms;
    {
        int format = 0;
        unsigned long items = 0;
        const auto bytes = readProperty(d, w, state, XA_ATOM, &format, &items);
        const auto* longs = reinterpret_cast<const long*>(bytes.data());
        for (unsigned long i = 0; format == 32 && i < items; ++i) atoms.push_back(static_cast<Atom>(longs[i]));
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const Atom a = XInternAtom(d, name, False);
        if (std::find(atoms.begin(), atoms.end(), a) == atoms.end()) atoms.push_back(a);
    }
    XChangeProperty(d, w, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(atoms.data()),
                    static_cast<int>(atoms.size()));
    // Done before the toolkit, on its own connection, reads the states to
    // add its own at the show.
    XSync(d, False);
}

bool titledWindowExists(const std::string& utf8Title) {
    Display* d = display();
    if (d == nullptr) return false;
    auto previous = XSetErrorHandler(ignoreErrors);
    const ::Window root = DefaultRootWindow(d);
    std::vector<::Window> candidates =
        windowList(d, root, XInternAtom(d, "_NET_CLIENT_LIST", False));
    const bool managed = !candidates.empty();
    if (!managed) candidates = children(d, root);
    bool found = false;
    for (::Window w : candidates) {
        bool titled = false;
        if (hasTitle(d, w, utf8Title, &titled)) {
            found = true;
            break;
        }
        if (managed || titled) continue;
        // An untitled top-level window may be a frame around the titled one.
        for (::Window inner : children(d, w)) {
            bool innerTitled = false;
            if (hasTitle(d, inner, utf8Title, &innerTitled)) {
                found = true;
                break;
            }
        }
        if (found) break;
    }
    XSync(d, False);
    XSetErrorHandler(previous);
    return found;
}

namespace {

long windowPid(Display* d, ::Window w) {
    int format = 0;
    unsigned long items = 0;
    const auto bytes = readProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, &format, &items);
    if (format != 32 || items < 1) return 0;
    return *reinterpret_cast<const long*>(bytes.data());
}

bool hasClass(Display* d, ::Window w, const std::string& cls) {
    XClassHint hint{};
    if (XGetClassHint(d, w, &hint) == 0) return false;
    const bool same = hint.res_class != nullptr && cls == hint.res_class;
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return same;
}

// The client windows on the display: the window manager's list, or the
// root's children and, under frames, their children.
std::vector<::Window> clientWindows(Display* d) {
    const ::Window root = DefaultRootWindow(d);
    std::vector<::Window> list = windowList(d, root, XInternAtom(d, "_NET_CLIENT_LIST", False));
    if (!list.empty()) return list;
    for (::Window top : children(d, root)) {
        list.push_back(top);
        for (::Window inner : children(d, top)) list.push_back(inner);
    }
    return list;
}

}  // namespace

bool activateWindowOf(long pid, const std::string& utf8Title, const std::string& cls) {
    Display* d = display();
    if (d == nullptr) return false;
    auto previous = XSetErrorHandler(ignoreErrors);
    ::Window found = 0;
    ::Window byTitle = 0;
    for (::Window w : clientWindows(d)) {
        bool titled = false;
        if (!hasTitle(d, w, utf8Title, &titled) || !hasClass(d, w, cls)) continue;
        if (pid > 0 && windowPid(d, w) == pid) {
            found = w;
            break;
        }
        if (byTitle == 0) byTitle = w;
    }
    if (found == 0) found = byTitle;
    if (found != 0) {
        const ::Window root = DefaultRootWindow(d);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.serial = 0;
        event.xclient.send_event = True;
        event.xclient.display = d;
        event.xclient.window = found;
        event.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;   // from an application
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = 0;
        XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        // Without a window manager the request goes unheard: map (a
        // minimised window comes back) and raise it ourselves.
        XMapRaised(d, found);
    }
    XSync(d, False);
    XSetErrorHandler(previous);
    return found != 0;
}

void closeDisplay() {
    if (connection != nullptr && ownConnection) XCloseDisplay(connection);
    connection = nullptr;
    ownConnection = false;
}

}  // namespace platform::qt::xdisplay
