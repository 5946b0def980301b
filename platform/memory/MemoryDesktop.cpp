#include "platform/memory/MemoryDesktop.h"

#include "help/HelpWindowTitle.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace platform {

const char* windowName(Window w) {
    switch (w) {
        case Window::Main: return "MainWindow";
        case Window::AddPuzzle: return "AddPuzzleWindow";
        case Window::Message: return "MessageWindow";
    }
    return "?";
}

void MemoryDesktop::createWindow(const ui::WindowSpec& row) {
    auto& s = windows_[row.window];
    s.created = true;
    s.visible = false;
    s.title = row.title;
    s.rect = {row.left, row.top, row.left + row.width, row.top + row.height};
    log(std::string("createWindow ") + windowName(row.window));
}

void MemoryDesktop::createControl(const ui::ControlSpec& row) {
    auto& c = controls_[row.id];
    c.created = true;
    c.visible = true;
    c.parent = row.parent;
    c.left = row.left;
    c.top = row.top;
    c.width = row.width;
    c.height = row.height;
    c.textLimit = row.textLimit;
    log("createControl " + std::to_string(row.id));
}

void MemoryDesktop::assignBitmap(ControlId id) {
    auto& c = controls_[id];
    c.bitmapAssigned = true;
    // A picture takes its bitmap's size.
    if (const auto* row = ui::findControl(id)) {
        if (const auto* bmp = ui::findBitmap(row->bitmap)) {
            c.width = bmp->width;
            c.height = bmp->height;
        }
    }
    log("assignBitmap " + std::to_string(id));
}

void MemoryDesktop::showWindow(Window w) {
    windows_[w].visible = true;
    windows_[w].minimized = false;
    log(std::string("showWindow ") + windowName(w));
}

void MemoryDesktop::hideWindow(Window w) {
    windows_[w].visible = false;
    log(std::string("hideWindow ") + windowName(w));
}

void MemoryDesktop::minimizeWindow(Window w) {
    windows_[w].minimized = true;
    log(std::string("minimizeWindow ") + windowName(w));
}

void MemoryDesktop::moveWindow(Window w, int left, int top, int width, int height) {
    windows_[w].rect = {left, top, left + width, top + height};
    log(std::string("moveWindow ") + windowName(w) + " " + std::to_string(left) + " " +
        std::to_string(top) + " " + std::to_string(width) + " " + std::to_string(height));
}

Rect MemoryDesktop::windowRect(Window w) { return windows_[w].rect; }

void MemoryDesktop::setFocus(Window w) {
    focus_ = w;
    focusSet_ = true;
    log(std::string("setFocus ") + windowName(w));
}

void MemoryDesktop::destroyWindow(Window w) {
    log(std::string("destroyWindow ") + windowName(w));
    // Owned windows are destroyed with their owner, each with its Destroy.
    std::vector<Window> gone;
    if (w == Window::Main) gone = {Window::AddPuzzle, Window::Message};
    gone.push_back(w);
    for (Window g : gone) {
        auto& s = windows_[g];
        if (s.destroyed) continue;
        s.destroyed = true;
        s.visible = false;
        sendMessage(g, Message::Destroy);
    }
}

Point MemoryDesktop::clientToScreen(Window w, Point client) {
    const Rect r = windows_[w].rect;
    return {client.x + r.left, client.y + r.top};
}

void MemoryDesktop::showControl(ControlId id) {
    controls_[id].visible = true;
    log("show " + std::to_string(id));
}

void MemoryDesktop::hideControl(ControlId id) {
    controls_[id].visible = false;
    log("hide " + std::to_string(id));
}

void MemoryDesktop::setText(ControlId id, const std::string& text) {
    controls_[id].text = text;
    log("setText " + std::to_string(id) + " " + text);
}

std::string MemoryDesktop::text(ControlId id) { return controls_[id].text; }

int MemoryDesktop::textLength(ControlId id) { return static_cast<int>(controls_[id].text.size()); }

Rect MemoryDesktop::controlRect(ControlId id) {
    const auto& c = controls_[id];
    const Rect w = windows_[c.parent].rect;
    return {w.left + c.left, w.top + c.top, w.left + c.left + c.width, w.top + c.top + c.height};
}

void MemoryDesktop::beep() { log("beep"); }

void MemoryDesktop::playWave(int resource) { log("playWave " + std::to_string(resource)); }

void MemoryDesktop::startTimer(Window w, int timerId, int milliseconds) {
    timers_[{w, timerId}] = milliseconds;
    log(std::string("startTimer ") + windowName(w) + " " + std::to_string(timerId) + " " +
        std::to_string(milliseconds));
}

void MemoryDesktop::stopTimer(Window w, int timerId) {
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
        if (help::titleShowsDocument(foreign, title)) return true;
    }
    for (const auto& [w, s] : windows_) {
        if (s.created && !s.destroyed && help::titleShowsDocument(s.title, title)) return true;
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
    const Rect win = windows_[w].rect;
    return {(r.left + r.right) / 2 - win.left, (r.top + r.bottom) / 2 - win.top};
}

void MemoryDesktop::pressButton(ControlId id) {
    const auto* row = ui::findControl(id);
    const Window parent = row != nullptr ? row->parent : Window::Main;
    sendMessage(parent, Message::Command, static_cast<std::uintptr_t>(id), 0);
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
