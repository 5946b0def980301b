// The desktop's part for assistive technology and keyboard play: what the
// logic pushes goes to the widgets and their accessible interfaces.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>

#include "platform/qt/Accessibility.h"
#include "platform/qt/Controls.h"
#include "platform/qt/KeyboardPlay.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/TopWindow.h"

namespace platform::qt {

namespace {
QString latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

void QtDesktop::setAccessibleRole(ControlId id, AccessibleRole role) {
    accessibility::setRole(controlWidget(id), role);
}

void QtDesktop::setAccessibleName(ControlId id, const std::string& name) {
    if (QWidget* w = controlWidget(id)) w->setAccessibleName(latin1(name));
}

void QtDesktop::setAccessibleDescription(ControlId id, const std::string& text) {
    if (QWidget* w = controlWidget(id)) w->setAccessibleDescription(latin1(text));
}

void QtDesktop::setAccessibleState(ControlId id, AccessibleState state, bool on) {
    accessibility::setState(controlWidget(id), state, on);
}

void QtDesktop::setWindowDescription(Window w, const std::string& text) {
    if (QWidget* window = windowWidget(w)) {
        window->setAccessibleDescription(latin1(text));
        accessibility::setWindowWords(window, latin1(text));
    }
}

void QtDesktop::announce(const std::string& text) {
    // Told by the window the player is in, else by the main window.
    QWidget* window = nullptr;
    for (Window w : {Window::Main, Window::AddPuzzle, Window::Message}) {
        QWidget* candidate = windowWidget(w);
        if (candidate != nullptr && candidate == QApplication::activeWindow()) window = candidate;
    }
    if (window == nullptr) window = windowWidget(Window::Main);
    accessibility::announce(window, latin1(text));
}

void QtDesktop::setKeyboardMode(bool on, const std::vector<ControlId>& focusOrder) {
    keyboardplay::setOn(on);
    QWidget* previous = nullptr;
    for (ControlId id : focusOrder) {
        QWidget* w = controlWidget(id);
        if (w == nullptr) continue;
        const bool edit = qobject_cast<QLineEdit*>(w) != nullptr;
        // Off, a button never takes the focus and an edit only by a click.
        w->setFocusPolicy(on ? (edit ? Qt::StrongFocus : Qt::TabFocus) : (edit ? Qt::ClickFocus : Qt::NoFocus));
        if (on && previous != nullptr && previous->window() == w->window()) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void QtDesktop::setReturnButton(ControlId edit, ControlId button) {
    auto* field = qobject_cast<QLineEdit*>(controlWidget(edit));
    auto* target = qobject_cast<QAbstractButton*>(controlWidget(button));
    if (field == nullptr || target == nullptr) return;
    connect(field, &QLineEdit::returnPressed, target, [target] {
        if (keyboardplay::on()) target->click();
    });
}

}  // namespace platform::qt
