#include "platform/memory/MemoryDesktop.h"

#include <cstdio>
#include <cstdlib>

#include "platform/DocumentTitle.h"

namespace platform {

namespace {

void abortOnFault(const std::string& what) {
    std::fprintf(stderr, "MemoryDesktop: %s\n", what.c_str());
    std::abort();
}

MemoryDesktop::FaultHandler faultHandler = abortOnFault;

}  // namespace

void MemoryDesktop::setFaultHandler(FaultHandler handler) { faultHandler = handler != nullptr ? handler : abortOnFault; }

MemoryDesktop::WindowState& MemoryDesktop::created(Window w, const char* operation) {
    auto it = windows_.find(w);
    if (it != windows_.end() && it->second.created) return it->second;
    faultHandler(std::string(operation) + " on window " + windowName(w) + ", which was never created");
    scratchWindow_ = {};
    return scratchWindow_;
}

MemoryDesktop::ControlState& MemoryDesktop::created(ControlId id, const char* operation) {
    auto it = controls_.find(id);
    if (it != controls_.end() && it->second.created) return it->second;
    faultHandler(std::string(operation) + " on control " + std::to_string(id) + ", which was never created");
    scratchControl_ = {};
    return scratchControl_;
}

const char* windowName(Window w) {
    switch (w) {
        case Window::Main: return "MainWindow";
        case Window::AddPuzzle: return "AddPuzzleWindow";
        case Window::Message: return "MessageWindow";
    }
    return "?";
}

void MemoryDesktop::createWindow(const WindowSpec& window) {
    auto& s = windows_[window.window];
    s = {};
    s.created = true;
    s.title = window.title;
    s.rect = {window.left, window.top, window.left + window.width, window.top + window.height};
    log(std::string("createWindow ") + windowName(window.window));
}

void MemoryDesktop::createControl(const ControlDescription& control) {
    created(control.parent, "createControl");
    auto& c = controls_[control.id];
    c = {};
    c.created = true;
    c.visible = true;
    c.parent = control.parent;
    c.left = control.left;
    c.top = control.top;
    c.width = control.width;
    c.height = control.height;
    c.textLimit = control.textLimit;
    c.description = control;
    log("createControl " + std::to_string(control.id));
}

void MemoryDesktop::assignBitmap(ControlId id) {
    auto& c = created(id, "assignBitmap");
    if (c.created && c.description.kind != ControlKind::Picture)
        faultHandler("assignBitmap on control " + std::to_string(id) + ", which is not a picture");
    c.bitmapAssigned = true;
    // A picture takes its bitmap's size.
    if (c.description.bitmapSize.width > 0) {
        c.width = c.description.bitmapSize.width;
        c.height = c.description.bitmapSize.height;
    }
    log("assignBitmap " + std::to_string(id));
}

void MemoryDesktop::registerWaves(const std::vector<int>& resources) {
    waves_ = resources;
    log("registerWaves");
}

void MemoryDesktop::showWindow(Window w) {
    auto& s = created(w, "showWindow");
    s.visible = true;
    s.minimized = false;
    log(std::string("showWindow ") + windowName(w));
}

void MemoryDesktop::hideWindow(Window w) {
    created(w, "hideWindow").visible = false;
    log(std::string("hideWindow ") + windowName(w));
}

void MemoryDesktop::minimizeWindow(Window w) {
    created(w, "minimizeWindow").minimized = true;
    log(std::string("minimizeWindow ") + windowName(w));
}

void MemoryDesktop::moveWindow(Window w, int left, int top, int width, int height) {
    created(w, "moveWindow").rect = {left, top, left + width, top + height};
    log(std::string("moveWindow ") + windowName(w) + " " + std::to_string(left) + " " +
        std::to_string(top) + " " + std::to_string(width) + " " + std::to_string(height));
}

Rect MemoryDesktop::windowRect(Window w) { return created(w, "windowRect").rect; }

void MemoryDesktop::setFocus(Window w) {
    created(w, "setFocus");
    focus_ = w;
    focusSet_ = true;
    log(std::string("setFocus ") + windowName(w));
}

void MemoryDesktop::destroyWindow(Window w) {
    created(w, "destroyWindow");
    log(std::string("destroyWindow ") + windowName(w));
    // Owned windows are destroyed with their owner, each with its Destroy.
    std::vector<Window> gone;
    if (w == Window::Main) gone = {Window::AddPuzzle, Window::Message};
    gone.push_back(w);
    for (Window g : gone) {
        auto& s = windows_[g];
        if (!s.created || s.destroyed) continue;
        s.destroyed = true;
        s.visible = false;
        sendMessage(g, Message::Destroy);
    }
}

Point MemoryDesktop::clientToScreen(Window w, Point client) {
    const Rect r = created(w, "clientToScreen").rect;
    return {client.x + r.left, client.y + r.top};
}

void MemoryDesktop::showControl(ControlId id) {
    created(id, "showControl").visible = true;
    log("show " + std::to_string(id));
}

void MemoryDesktop::hideControl(ControlId id) {
    created(id, "hideControl").visible = false;
    log("hide " + std::to_string(id));
}

void MemoryDesktop::setText(ControlId id, const std::string& text) {
    created(id, "setText").text = text;
    log("setText " + std::to_string(id) + " " + text);
}

std::string MemoryDesktop::text(ControlId id) { return created(id, "text").text; }

int MemoryDesktop::textLength(ControlId id) { return static_cast<int>(created(id, "textLength").text.size()); }

void MemoryDesktop::type(ControlId id, const std::string& text) {
    auto& c = created(id, "type");
    if (c.created && c.description.kind != ControlKind::Edit)
        faultHandler("type into control " + std::to_string(id) + ", which is not an edit field");
    c.text = text;
}

Rect MemoryDesktop::controlRect(ControlId id) {
    const auto& c = created(id, "controlRect");
    const Rect w = created(c.parent, "controlRect").rect;
    return {w.left + c.left, w.top + c.top, w.left + c.left + c.width, w.top + c.top + c.height};
}

void MemoryDesktop::beep() { log("beep"); }

void MemoryDesktop::playWave(int resource) { log("playWave " + std::to_string(resource)); }

void MemoryDesktop::startTimer(Window w, int timerId, int milliseconds) {
    created(w, "startTimer");
    timers_[{w, timerId}] = milliseconds;
    log(std::string("startTimer ") + windowName(w) + " " + std::to_string(timerId) + " " +
        std::to_string(milliseconds));
}

void MemoryDesktop::stopTimer(Window w, int timerId) {
    created(w, "stopTimer");
    timers_.erase({w, timerId});
    log(std::string("stopTimer ") + windowName(w) + " " + std::to_string(timerId));
}

void MemoryDesktop::messageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
    log("messageBox " + caption + ": " + text);
    boxes_.push_back({text, caption, style});
    if (whileMessageBoxOpen) {
        auto hook = whileMessageBoxOpen;
        hook(boxes_.back());
    }
}

bool MemoryDesktop::openDocument(const std::string& path) {
    log("openDocument " + path);
    if (openResult_) opened_.push_back(path);
    return openResult_;
}

bool MemoryDesktop::topLevelWindowExists(const std::string& title) {
    log("topLevelWindowExists " + title);
    for (const auto& foreign : foreignTitles_) {
        if (platform::titleShowsDocument(foreign, title)) return true;
    }
    for (const auto& [w, s] : windows_) {
        if (s.created && !s.destroyed && platform::titleShowsDocument(s.title, title)) return true;
    }
    return false;
}

void MemoryDesktop::postQuit(int exitCode) {
    if (!quitPosted_) exitCode_ = exitCode;
    quitPosted_ = true;
    log("postQuit " + std::to_string(exitCode));
}

void MemoryDesktop::defaultProcessing(Window w, Message m) {
    log(std::string("default ") + windowName(w) + " " + std::to_string(static_cast<int>(m)));
}

std::vector<std::string> MemoryDesktop::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls_) {
        if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
}

int MemoryDesktop::count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls_) n += (c == call) ? 1 : 0;
    return n;
}

std::vector<int> MemoryDesktop::wavesPlayed() const {
    std::vector<int> out;
    for (const auto& c : callsStartingWith("playWave ")) out.push_back(std::stoi(c.substr(9)));
    return out;
}

void MemoryDesktop::click(Window w, Point client) {
    sendMessage(w, Message::LButtonDown, 0, pointToLParam(client));
    sendMessage(w, Message::LButtonUp, 0, pointToLParam(client));
}

Point MemoryDesktop::centreOf(ControlId id, Window w) {
    const Rect r = controlRect(id);
    const Rect win = created(w, "centreOf").rect;
    return {(r.left + r.right) / 2 - win.left, (r.top + r.bottom) / 2 - win.top};
}

void MemoryDesktop::pressButton(ControlId id) {
    const auto& c = created(id, "pressButton");
    if (!c.created) return;
    if (c.description.kind != ControlKind::OwnerDrawButton) {
        faultHandler("pressButton on control " + std::to_string(id) + ", which is not a button");
        return;
    }
    sendMessage(c.parent, Message::Command, static_cast<std::uintptr_t>(id), 0);
}

void MemoryDesktop::setAccessibleRole(ControlId id, AccessibleRole role) { controls_[id].role = role; }

void MemoryDesktop::setAccessibleName(ControlId id, const std::string& name) {
    controls_[id].accessibleName = name;
}

void MemoryDesktop::setAccessibleDescription(ControlId id, const std::string& text) {
    controls_[id].accessibleDescription = text;
}

void MemoryDesktop::setAccessibleState(ControlId id, AccessibleState state, bool on) {
    if (on) {
        controls_[id].states.insert(state);
    } else {
        controls_[id].states.erase(state);
    }
}

void MemoryDesktop::setWindowDescription(Window w, const std::string& text) { windowDescriptions_[w] = text; }

void MemoryDesktop::announce(const std::string& text) { announcements_.push_back(text); }

void MemoryDesktop::setKeyboardMode(bool on, const std::vector<ControlId>& focusOrder) {
    keyboardMode_ = on;
    focusOrder_ = on ? focusOrder : std::vector<ControlId>{};
}

void MemoryDesktop::setReturnButton(ControlId edit, ControlId button) { returnButtons_[edit] = button; }

void MemoryDesktop::pressKey(Window w, int virtualKey) {
    sendMessage(w, Message::KeyDown, static_cast<std::uintptr_t>(virtualKey), 0);
}

void MemoryDesktop::pressReturnIn(ControlId edit) {
    auto it = returnButtons_.find(edit);
    if (keyboardMode_ && it != returnButtons_.end()) pressButton(it->second);
}

}  // namespace platform
