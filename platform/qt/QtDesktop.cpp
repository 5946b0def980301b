#include "platform/qt/QtDesktop.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/DocumentTitle.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/Controls.h"
#include "platform/qt/DocumentOpener.h"
#include "platform/qt/KeyboardPlay.h"
#include "platform/qt/Pixmaps.h"
#include "platform/qt/TopWindow.h"
#include "platform/qt/WavePlayer.h"
#include "platform/qt/XDisplay.h"

namespace platform::qt {

namespace {
QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

Rect toRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
}  // namespace

QtDesktop::QtDesktop()
    : player_(std::make_unique<WavePlayer>([] { QApplication::beep(); })),
      onX11_(QGuiApplication::platformName() == QLatin1String("xcb")) {
    // The program ends only through its own exit; closing the last visible
    // window (a message box, say) must not end it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Every control gets a font of its own, but an edit lays its text out as
    // it is made, in the application's font: that is the controls' default
    // font, so that no family is looked up for that alone. The message boxes
    // keep the desktop's font.
    accessibility::install();
    static const QFont desktop = QApplication::font();
    desktopFont_ = desktop;
    QApplication::setFont(controlFont(ControlFont::Default));
}

QtDesktop::~QtDesktop() {
    for (auto& [key, t] : timers_) delete t;
    timers_.clear();
    // Owned windows first, then the main window.
    for (Window w : {Window::AddPuzzle, Window::Message, Window::Main}) {
        auto it = windows_.find(w);
        if (it != windows_.end() && it->second.widget) delete it->second.widget.data();
    }
}

TopWindow* QtDesktop::live(Window w) const {
    auto it = windows_.find(w);
    if (it == windows_.end() || it->second.destroyed) return nullptr;
    return it->second.widget.data();
}

const QtDesktop::ControlEntry* QtDesktop::control(ControlId id) const {
    auto it = controls_.find(id);
    if (it == controls_.end() || !it->second.widget) return nullptr;
    return &it->second;
}

QWidget* QtDesktop::windowWidget(Window w) const { return live(w); }

QWidget* QtDesktop::controlWidget(ControlId id) const {
    const auto* c = control(id);
    return c != nullptr ? c->widget.data() : nullptr;
}

Size QtDesktop::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {1024, 768};
    return {screen->size().width(), screen->size().height()};
}

void QtDesktop::createWindow(const WindowSpec& row) {
    auto* w = new TopWindow(row.window, row.backgroundBitmap, row.owner.has_value());
    w->setWindowTitle(latin1(row.title));
    w->setObjectName(QString::fromLatin1(row.className));
    w->setFixedSize(row.width, row.height);
    w->move(row.left, row.top);   // off-screen positions stand as given
    auto& entry = windows_[row.window];
    entry.widget = w;
    entry.destroyed = false;
    entry.title = row.title;
    entry.className = row.className;
    entry.owner = row.owner;
    entry.native = false;
    // A window with no owner shows at once: its native window is made now.
    if (!row.owner) makeNative(row.window);
}

// An owned window's native window is made when it first shows, not with the
// widget: the owned windows start hidden and many runs never show them,
// and each native window costs the toolkit's setting up and the icon at
// every size.
void QtDesktop::makeNative(Window w) {
    auto it = windows_.find(w);
    if (it == windows_.end() || it->second.native || !it->second.widget) return;
    WindowEntry& entry = it->second;
    entry.native = true;
    // The icon at every size it was drawn at, so each place gets a sharp
    // one; set before the first native window so that every window maps
    // with it.
    if (!iconSet_) {
        iconSet_ = true;
        const QIcon icon = windowIcon();
        if (!icon.isNull()) QApplication::setWindowIcon(icon);
    }
    const auto nativeId = static_cast<std::uintptr_t>(entry.widget->winId());
    if (onX11_) {
        xdisplay::setWindowClass(nativeId, entry.className, entry.className);
        // Owned, but an ordinary window for the window manager, not a dialog
        // it may centre or pull into the screen: it stands where it is put.
        if (entry.owner) xdisplay::setNormalWindowType(nativeId);
    }
    // An owned window is transient for its owner (WM_TRANSIENT_FOR on X): a
    // window manager keeps it above the owner and minimises and restores it
    // with the owner. It is not the owner's child widget: a native child
    // would make every control of the owner a native window too, which
    // breaks their sizes and transparency.
    if (entry.owner) {
        makeNative(*entry.owner);
        if (TopWindow* owner = live(*entry.owner))
            entry.widget->windowHandle()->setTransientParent(owner->windowHandle());
    }
}

void QtDesktop::createControl(const ControlDescription& row) {
    TopWindow* parent = live(row.parent);
    if (parent == nullptr) return;
    QWidget* w = nullptr;
    switch (row.kind) {
        case ControlKind::OwnerDrawButton: {
            auto* b = new FaceButton(row.normalFace, row.pressedFace, parent);
            const Window target = row.parent;
            const int id = row.id;
            // A command from a button arrives at the button's parent window.
            connect(b, &QAbstractButton::clicked, this, [target, id] {
                platform::sendMessage(target, Message::Command, static_cast<std::uintptr_t>(id), 0);
            });
            w = b;
            break;
        }
        case ControlKind::Picture:
            w = new Picture(parent);
            break;
        case ControlKind::TextNoPrefix:
        case ControlKind::TextPrefix:
        case ControlKind::TextCentered:
            w = new TextStatic(row.kind, row.transparent, parent);
            break;
        case ControlKind::Edit:
            w = new FittedEdit(row.textLimit, parent);
            break;
    }
    w->setObjectName(QString::fromLatin1(row.name));
    w->setFont(controlFont(row.font));
    w->setGeometry(row.left, row.top, row.width, row.height);
    // Later controls stand above earlier ones where they overlap (the flight
    // frames over the loss figure), unless the description names one that
    // stays above this one.
    if (row.stackUnder != 0) {
        if (QWidget* above = controlWidget(row.stackUnder)) w->stackUnder(above);
    }
    w->show();
    auto& entry = controls_[row.id];
    entry.widget = w;
    entry.kind = row.kind;
    entry.parent = row.parent;
    entry.bitmap = row.bitmap;
    entry.bitmapSize = row.bitmapSize;
    entry.text.clear();
}

void QtDesktop::assignBitmap(ControlId id) {
    const auto* c = control(id);
    if (c == nullptr || c->kind != ControlKind::Picture) return;
    auto* picture = static_cast<Picture*>(c->widget.data());
    if (c->bitmapSize.width <= 0 || picture->isVisible()) {
        picture->assign(c->bitmap, QSize(c->bitmapSize.width, c->bitmapSize.height));
        return;
    }
    // Most pictures start hidden, and many are never shown in a run: each is
    // decoded when it first shows, which keeps that work out of start-up. It
    // takes its bitmap's size at once.
    picture->setFixedSize(c->bitmapSize.width, c->bitmapSize.height);
    unshownPictures_[picture] = id;
    picture->installEventFilter(this);
    connect(picture, &QObject::destroyed, this, [this](QObject* gone) { unshownPictures_.erase(gone); });
}

bool QtDesktop::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) && !soundPrepared_) {
        // The player's first press: the sound server is reached while the
        // button or key is still down, before the cue its release may ask for.
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { prepareSound(); });
    }
    if (event->type() == QEvent::Show) {
        auto it = unshownPictures_.find(watched);
        if (it != unshownPictures_.end()) {
            const ControlEntry* c = control(it->second);
            unshownPictures_.erase(it);
            watched->removeEventFilter(this);
            if (c != nullptr)
                static_cast<Picture*>(watched)->assign(c->bitmap, QSize(c->bitmapSize.width, c->bitmapSize.height));
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtDesktop::showWindow(Window w) {
    TopWindow* widget = live(w);
    if (widget == nullptr) return;
    makeNative(w);
    windows_[w].iconic = false;
    widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
    // An owned window has no taskbar entry of its own. Set on the unmapped
    // window at every show: a window manager drops the state on a hide.
    if (onX11_ && w != Window::Main && !widget->isVisible())
        xdisplay::skipTaskbar(static_cast<std::uintptr_t>(widget->winId()));
    widget->show();
    widget->raise();
    // An activated window has the focus itself, not its first edit field.
    if (widget->focusWidget() == nullptr) widget->setFocus(Qt::ActiveWindowFocusReason);
    widget->activateWindow();
}

void QtDesktop::hideWindow(Window w) {
    if (TopWindow* widget = live(w)) widget->hide();
}

void QtDesktop::minimizeWindow(Window w) {
    TopWindow* widget = live(w);
    if (widget == nullptr) return;
    if (onX11_ && !xdisplay::windowManagerRunning()) {
        // Nobody to iconify it: take it off the screen until it is shown.
        windows_[w].iconic = true;
        widget->hide();
        return;
    }
    makeNative(w);
    widget->showMinimized();
}

void QtDesktop::moveWindow(Window w, int left, int top, int width, int height) {
    TopWindow* widget = live(w);
    if (widget == nullptr) return;
    widget->setFixedSize(width, height);
    widget->move(left, top);
}

Rect QtDesktop::windowRect(Window w) {
    auto it = windows_.find(w);
    if (it == windows_.end() || !it->second.widget) return {};
    return toRect(it->second.widget->geometry());
}

void QtDesktop::setFocus(Window w) {
    TopWindow* widget = live(w);
    if (widget == nullptr) return;
    widget->activateWindow();
    // In keyboard play a button of the window keeps the focus it has, so
    // that Tab goes on from it.
    if (keyboardplay::on() && qobject_cast<FaceButton*>(widget->focusWidget()) != nullptr) return;
    widget->setFocus(Qt::OtherFocusReason);
}

void QtDesktop::stopTimersOf(Window w) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == w) {
            it->second->stop();
            it->second->deleteLater();
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
}

void QtDesktop::destroyWindow(Window w) {
    // Owned windows go first, then the owner; each hears of its end.
    std::vector<Window> gone;
    if (w == Window::Main) gone = {Window::AddPuzzle, Window::Message};
    gone.push_back(w);
    for (Window g : gone) {
        auto it = windows_.find(g);
        if (it == windows_.end() || it->second.destroyed) continue;
        it->second.destroyed = true;
        stopTimersOf(g);
        for (auto c = controls_.begin(); c != controls_.end();) {
            c = c->second.parent == g ? controls_.erase(c) : std::next(c);
        }
        if (TopWindow* widget = it->second.widget.data()) {
            widget->hide();
            // Later: the window may be the one whose event is being handled.
            widget->deleteLater();
        }
        platform::sendMessage(g, Message::Destroy);
    }
}

Point QtDesktop::clientToScreen(Window w, Point client) {
    const Rect r = windowRect(w);
    return {r.left + client.x, r.top + client.y};
}

void QtDesktop::showControl(ControlId id) {
    if (const auto* c = control(id)) c->widget->show();
}

void QtDesktop::hideControl(ControlId id) {
    if (const auto* c = control(id)) c->widget->hide();
}

void QtDesktop::setText(ControlId id, const std::string& text) {
    auto it = controls_.find(id);
    if (it == controls_.end() || !it->second.widget) return;
    QWidget* w = it->second.widget.data();
    switch (it->second.kind) {
        case ControlKind::TextNoPrefix:
        case ControlKind::TextPrefix:
        case ControlKind::TextCentered:
            static_cast<TextStatic*>(w)->setRawText(text);
            break;
        case ControlKind::Edit:
            static_cast<FittedEdit*>(w)->setRawText(text);
            break;
        default:
            it->second.text = text;
            break;
    }
}

std::string QtDesktop::text(ControlId id) {
    const auto* c = control(id);
    if (c == nullptr) return {};
    switch (c->kind) {
        case ControlKind::TextNoPrefix:
        case ControlKind::TextPrefix:
        case ControlKind::TextCentered:
            return static_cast<TextStatic*>(c->widget.data())->rawText();
        case ControlKind::Edit:
            return static_cast<FittedEdit*>(c->widget.data())->rawText();
        default:
            return c->text;
    }
}

int QtDesktop::textLength(ControlId id) { return static_cast<int>(text(id).size()); }

Rect QtDesktop::controlRect(ControlId id) {
    const auto* c = control(id);
    if (c == nullptr) return {};
    const Rect window = windowRect(c->parent);
    const QRect g = c->widget->geometry();
    return {window.left + g.left(), window.top + g.top(), window.left + g.left() + g.width(),
            window.top + g.top() + g.height()};
}

void QtDesktop::beep() { QApplication::beep(); }

void QtDesktop::playWave(int resource) {
    prepareSound();
    player_->play(resource);
}

void QtDesktop::startTimer(Window w, int timerId, int milliseconds) {
    if (live(w) == nullptr) return;
    const auto key = std::make_pair(w, timerId);
    QTimer*& t = timers_[key];
    if (t == nullptr) {
        t = new QTimer(this);
        connect(t, &QTimer::timeout, this, [w, timerId] {
            platform::sendMessage(w, Message::Timer, static_cast<std::uintptr_t>(timerId), 0);
        });
    }
    t->start(milliseconds);
}

void QtDesktop::stopTimer(Window w, int timerId) {
    auto it = timers_.find({w, timerId});
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();   // it may be the timer whose tick is running
    timers_.erase(it);
}

void QtDesktop::messageBox(const std::string& text, const std::string& caption, unsigned style) {
    if (quitPosted_) return;
    QMessageBox box;
    box.setFont(desktopFont_);
    box.setWindowTitle(latin1(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(latin1(text));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    // The box blocks its caller only: the program's windows keep working
    // meanwhile, as under a box without owner.
    box.setWindowModality(Qt::NonModal);
    if ((style & platform::MB_TOPMOST) != 0) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // The window that was active gets the activation back afterwards, as
    // the classic desktop gives it to the next window in line.
    const QPointer<QWidget> wasActive = QApplication::activeWindow();
    QEventLoop loop;
    boxLoops_.push_back(&loop);
    connect(&box, &QMessageBox::finished, &loop, [&loop] { loop.exit(0); });
    box.show();
    box.raise();
    box.activateWindow();
    loop.exec();
    std::erase_if(boxLoops_, [&loop](const QPointer<QEventLoop>& p) { return p == &loop || !p; });
    box.hide();
    if (!quitPosted_ && wasActive && wasActive->isVisible()) wasActive->activateWindow();
}

bool QtDesktop::openDocument(const std::string& path) { return openWithDefaultApplication(path); }

bool QtDesktop::topLevelWindowExists(const std::string& title) {
    const QString wanted = latin1(title);
    const QByteArray utf8 = wanted.toUtf8();
    const std::string wantedUtf8(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    const auto shows = [&wantedUtf8](const QString& windowTitle) {
        const QByteArray bytes = windowTitle.toUtf8();
        return platform::titleShowsDocument(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                        wantedUtf8);
    };
    for (const auto& [w, entry] : windows_) {
        if (!entry.destroyed && entry.widget && shows(entry.widget->windowTitle())) return true;
    }
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && shows(w->windowTitle())) return true;
    }
    if (!onX11_) return false;
    return xdisplay::titledWindowExists(wantedUtf8);
}

void QtDesktop::postQuit(int exitCode) {
    if (!quitPosted_) {
        quitPosted_ = true;
        exitCode_ = exitCode;
    }
    // Ends the main loop and every modal loop inside it.
    if (loopRunning_) QCoreApplication::exit(exitCode_);
    for (const auto& loop : boxLoops_) {
        if (loop) loop->exit(0);
    }
}

void QtDesktop::defaultProcessing(Window w, Message m) {
    // What the classic default does with a close left to it.
    if (m == Message::Close) destroyWindow(w);
}

void QtDesktop::prepareSound() {
    if (soundPrepared_) return;
    soundPrepared_ = true;
    player_->prepare(waves_);
}

void QtDesktop::registerWaves(const std::vector<int>& resources) { waves_ = resources; }

int QtDesktop::runMessageLoop() {
    if (quitPosted_) return exitCode_;
    // The waves are decoded and the sound server reached when the player
    // first presses a button or key, not at start: a game left waiting never
    // loads the sound libraries. A cue asked for before then gets them
    // itself, and plays once the server answers.
    qApp->installEventFilter(this);
    loopRunning_ = true;
    const int code = QApplication::exec();
    loopRunning_ = false;
    return quitPosted_ ? exitCode_ : code;
}

}  // namespace platform::qt
