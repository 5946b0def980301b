#include "platform/qt/Accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/qt/Controls.h"
#include "platform/qt/TopWindow.h"

namespace platform::qt::accessibility {

namespace {

// What the logic pushed, kept on the widgets themselves.
constexpr const char* kRole = "tarvikAccessibleRole";
constexpr const char* kCheckable = "tarvikCheckable";
constexpr const char* kChecked = "tarvikChecked";
constexpr const char* kUnavailable = "tarvikUnavailable";

bool flag(const QWidget* w, const char* property) { return w->property(property).toBool(); }

platform::AccessibleRole roleOf(const QObject* o) {
    const QVariant v = o->property(kRole);
    return v.isValid() ? static_cast<platform::AccessibleRole>(v.toInt()) : platform::AccessibleRole::Standard;
}

QAccessible::State withPushedStates(QAccessible::State s, const QWidget* w) {
    if (flag(w, kCheckable)) {
        s.checkable = true;
        s.checked = flag(w, kChecked);
    }
    if (flag(w, kUnavailable)) s.disabled = true;
    return s;
}

// A press arrives as a call over the accessibility bus, which waits for its
// answer: it runs once the call is answered, as a click would (a handler may
// open a box with its own loop).
void pressLater(QWidget* w, void (*press)(QWidget*)) {
    QTimer::singleShot(0, w, [w, press] { press(w); });
}

// A bitmap button: pressed as clicked; checked where it is a switch.
class ButtonInterface : public QAccessibleWidget {
public:
    explicit ButtonInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QAccessible::State state() const override { return withPushedStates(QAccessibleWidget::state(), widget()); }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) return QAccessibleWidget::doAction(action);
        pressLater(widget(), [](QWidget* b) { static_cast<QAbstractButton*>(b)->click(); });
    }
};

// A picture; one that acts when clicked (a letter tile) is a button whose
// Press clicks its middle, exactly as the mouse would.
class PictureInterface : public QAccessibleWidget {
public:
    explicit PictureInterface(QWidget* w)
        : QAccessibleWidget(w, roleOf(w) == platform::AccessibleRole::Pressable ? QAccessible::Button
                                                                               : QAccessible::Graphic) {}
    QAccessible::State state() const override { return withPushedStates(QAccessibleWidget::state(), widget()); }
    QStringList actionNames() const override {
        if (role() != QAccessible::Button) return QAccessibleWidget::actionNames();
        return QStringList{pressAction()};
    }
    void doAction(const QString& action) override {
        if (role() != QAccessible::Button || action != pressAction()) return QAccessibleWidget::doAction(action);
        pressLater(widget(), [](QWidget* picture) {
            auto* top = qobject_cast<TopWindow*>(picture->window());
            if (top == nullptr) return;
            const QPoint centre = picture->geometry().center();
            const auto where = platform::pointToLParam({centre.x(), centre.y()});
            platform::sendMessage(top->which(), platform::Message::LButtonDown, 0, where);
            platform::sendMessage(top->which(), platform::Message::LButtonUp, 0, where);
        });
    }
};

// A text static: its name says its label, its value and, for the phrase,
// its spelling.
class TextInterface : public QAccessibleWidget {
public:
    explicit TextInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
};

// Words for a screen reader only: the text a window's background shows, or
// the notice last told. Takes no room and paints nothing.
class SpokenWords : public QWidget {
public:
    SpokenWords(QWidget* window, QAccessible::Role role) : QWidget(window), role_(role) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 0, 0);
    }
    QAccessible::Role role() const { return role_; }
    const QString& words() const { return words_; }
    void setWords(const QString& words) {
        words_ = words;
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }

private:
    QAccessible::Role role_;
    QString words_;
};

class SpokenWordsInterface : public QAccessibleWidget {
public:
    explicit SpokenWordsInterface(SpokenWords* w) : QAccessibleWidget(w, w->role()) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<SpokenWords*>(widget())->words();
        return {};
    }
    // Where the words stand: the whole window.
    QRect rect() const override {
        const QWidget* window = widget()->window();
        return QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
};

// A top-level window: its controls but those told by another, its
// background's words, its notices.
class WindowInterface : public QAccessibleWidget {
public:
    explicit WindowInterface(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            if (const SpokenWords* words = wordsOf(widget())) return words->words();
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return static_cast<int>(shownChildren().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shownChildren();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        return static_cast<int>(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    static SpokenWords* wordsOf(const QWidget* window) {
        for (QObject* o : window->children()) {
            auto* words = dynamic_cast<SpokenWords*>(o);
            if (words != nullptr && words->role() == QAccessible::StaticText) return words;
        }
        return nullptr;
    }

private:
    QList<QWidget*> shownChildren() const {
        QList<QWidget*> out;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w == nullptr || w->isWindow() || roleOf(w) == platform::AccessibleRole::Hidden) continue;
            out.append(w);
        }
        return out;
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (w == nullptr) return nullptr;
    if (className == QLatin1String(TopWindow::staticMetaObject.className())) return new WindowInterface(w);
    if (className == QLatin1String(FaceButton::staticMetaObject.className())) return new ButtonInterface(w);
    if (className == QLatin1String(Picture::staticMetaObject.className())) return new PictureInterface(w);
    if (className == QLatin1String(TextStatic::staticMetaObject.className())) return new TextInterface(w);
    if (auto* words = dynamic_cast<SpokenWords*>(w); words != nullptr && className == QLatin1String("QWidget"))
        return new SpokenWordsInterface(words);
    return nullptr;
}

// The notice told before, if any.
SpokenWords* notifierOf(QWidget* window) {
    for (QObject* o : window->children()) {
        auto* words = dynamic_cast<SpokenWords*>(o);
        if (words != nullptr && words->role() == QAccessible::Notification) return words;
    }
    return nullptr;
}

}  // namespace

void install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

void setRole(QWidget* w, platform::AccessibleRole role) {
    if (w == nullptr) return;
    w->setProperty(kRole, static_cast<int>(role));
    // Told again from the start: the role is read when the interface is made.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(w)));
}

void setState(QWidget* w, platform::AccessibleState state, bool on) {
    if (w == nullptr) return;
    QAccessible::State changed;
    if (state == platform::AccessibleState::Checked) {
        w->setProperty(kCheckable, true);
        w->setProperty(kChecked, on);
        changed.checked = true;
    } else {
        w->setProperty(kUnavailable, on);
        changed.disabled = true;
    }
    QAccessibleStateChangeEvent event(w, changed);
    QAccessible::updateAccessibility(&event);
}

void setWindowWords(QWidget* window, const QString& text) {
    if (window == nullptr) return;
    SpokenWords* words = WindowInterface::wordsOf(window);
    if (words == nullptr) {
        words = new SpokenWords(window, QAccessible::StaticText);
        words->lower();   // read first, before the controls
        words->show();
    }
    words->setWords(text);
}

void announce(QWidget* window, const QString& text) {
    if (window == nullptr) return;
    // A notification that comes to show is what a screen reader speaks. A
    // new one for each notice: clients keep the names they read once, so
    // the old one shown again could be told with its old words.
    if (SpokenWords* old = notifierOf(window)) {
        old->hide();
        old->setParent(nullptr);
        old->deleteLater();
    }
    auto* notifier = new SpokenWords(window, QAccessible::Notification);
    notifier->hide();
    notifier->setWords(text);
    notifier->show();
}

}  // namespace platform::qt::accessibility
