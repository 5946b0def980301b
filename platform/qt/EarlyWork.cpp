#include "platform/qt/EarlyWork.h"

#include <fontconfig/fontconfig.h>

#include <QDir>
#include <QFontMetrics>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/qt/Controls.h"
#include "platform/qt/ImageReading.h"
#include "platform/qt/Pixmaps.h"
#include "platform/qt/StartupCores.h"

namespace platform::qt::earlywork {

namespace {

struct State {
    ~State() { finish(); }
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    bool applicationReady = false;
    bool stopWaiting = false;
    bool iconRead = false;
    std::vector<QImage> icon;
};

State& state() {
    static State s;
    return s;
}

// The window's icon goes to the window manager at every size up to 64
// pixels (a title bar, a task list, a window switcher); the larger ones are
// installed with the desktop entry for launchers and menus, and would only
// cost every window a quarter of a megabyte.
constexpr int kLargestWindowIcon = 64;

void readIcon() {
    std::vector<QImage> images;
    for (const QString& name : QDir(QStringLiteral(":/icon")).entryList(QDir::Files)) {
        if (QStringView(name).chopped(4).toInt() > kLargestWindowIcon) continue;
        QImage image = readResourceImage(QStringLiteral(":/icon/") + name);
        if (!image.isNull()) images.push_back(std::move(image));
    }
    State& s = state();
    {
        const std::lock_guard lock(s.mutex);
        s.icon = std::move(images);
        s.iconRead = true;
    }
    s.changed.notify_all();
}

bool applicationIsReady() {
    State& s = state();
    const std::lock_guard lock(s.mutex);
    return s.applicationReady;
}

// Fills the font database, which is shared between threads, looks up the
// fallbacks of the controls' default family (shared too; the main thread
// needs them first, as it makes the edits) and fits the phrase font once for
// the program, needed when the main window first shows. The fonts this
// thread loads are its own.
void lookAtFonts() {
    (void)QFontMetrics(controlFont(ui::ControlFont::Default)).height();
    (void)controlFont(ui::ControlFont::Phrase);
}

void work(const std::vector<int>& bitmaps) {
    startupcores::enterEarlyThread();
    // Its work done, the threads may share the processors again.
    struct Rejoin {
        ~Rejoin() { startupcores::rejoin(); }
    } rejoin;
    // The configuration (some fifty files of XML) is the larger part of
    // the first font look-up.
    FcInit();
    readIcon();
    // The bitmaps while the application is being made; the fonts as soon as
    // it is there, as the edits need them while the controls are made (the
    // main thread reads any bitmap it wants before this thread gets to it).
    bool fontsDone = false;
    for (int number : bitmaps) {
        if (!fontsDone && applicationIsReady()) {
            lookAtFonts();
            fontsDone = true;
        }
        if (claimBitmap(number))
            handOverBitmap(number, readResourceImage(QStringLiteral(":/bitmaps/%1.bmp").arg(number)));
    }
    if (fontsDone) return;
    State& s = state();
    {
        std::unique_lock lock(s.mutex);
        s.changed.wait(lock, [&] { return s.applicationReady || s.stopWaiting; });
        if (!s.applicationReady) return;
    }
    lookAtFonts();
}

}  // namespace

void begin(std::vector<int> firstFrameBitmaps) {
    State& s = state();
    if (s.thread.joinable()) return;
    announceBitmaps(firstFrameBitmaps);
    (void)startupcores::separate();
    s.thread = std::thread(work, std::move(firstFrameBitmaps));
}

void applicationReady() {
    State& s = state();
    {
        const std::lock_guard lock(s.mutex);
        s.applicationReady = true;
    }
    s.changed.notify_all();
}

std::vector<QImage> iconImages() {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.thread.joinable() && !s.iconRead) {
        lock.unlock();
        readIcon();
        lock.lock();
    }
    s.changed.wait(lock, [&] { return s.iconRead; });
    return s.icon;
}

void finish() {
    State& s = state();
    {
        const std::lock_guard lock(s.mutex);
        s.stopWaiting = true;
    }
    s.changed.notify_all();
    if (s.thread.joinable()) s.thread.join();
}

}  // namespace platform::qt::earlywork
