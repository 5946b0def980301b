#include "platform/qt/Pixmaps.h"

#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>

#include "platform/qt/ImageReading.h"
#include "ui/Bitmaps.h"

namespace platform::qt {

namespace {

struct Loaded {
    QPixmap normal;
    QPixmap dense;           // the 2x twin; null where there is none
    bool denseRead = false;  // whether the twin was looked for
};

// Touched by the main thread only.
QHash<int, Loaded>& cache() {
    static QHash<int, Loaded> loaded;
    return loaded;
}

// Bitmaps read ahead on another thread: announced, claimed by the thread,
// then handed over. One not yet claimed when it is wanted is read by the
// main thread itself.
struct Ahead {
    enum class State { Announced, Reading, Read };
    struct Slot {
        State state = State::Announced;
        QImage image;
    };
    std::mutex mutex;
    std::condition_variable arrived;
    std::map<int, Slot> pending;
};

Ahead& ahead() {
    static Ahead a;
    return a;
}

// The image read ahead for this bitmap, waiting for it if it is being read;
// nothing when nobody is reading it.
std::optional<QImage> takeReadAhead(int number) {
    Ahead& a = ahead();
    std::unique_lock lock(a.mutex);
    auto it = a.pending.find(number);
    if (it == a.pending.end()) return std::nullopt;
    if (it->second.state == Ahead::State::Announced) {
        a.pending.erase(it);
        return std::nullopt;
    }
    a.arrived.wait(lock, [&] { return it->second.state == Ahead::State::Read; });
    QImage image = std::move(it->second.image);
    a.pending.erase(it);
    return image;
}

Loaded& entry(int number) {
    auto& cache = platform::qt::cache();
    auto it = cache.find(number);
    if (it == cache.end()) {
        std::optional<QImage> image = takeReadAhead(number);
        if (!image) image = readResourceImage(QStringLiteral(":/bitmaps/%1.bmp").arg(number));
        Loaded fresh;
        // Kept in the bitmap's own 24 bits rather than the screen's 32.
        if (!image->isNull()) fresh.normal = QPixmap::fromImage(std::move(*image), Qt::NoFormatConversion);
        it = cache.insert(number, fresh);
    }
    return *it;
}

}  // namespace

void announceBitmaps(const std::vector<int>& numbers) {
    Ahead& a = ahead();
    const std::lock_guard lock(a.mutex);
    for (int n : numbers) a.pending.try_emplace(n);
}

bool claimBitmap(int number) {
    Ahead& a = ahead();
    const std::lock_guard lock(a.mutex);
    auto it = a.pending.find(number);
    if (it == a.pending.end() || it->second.state != Ahead::State::Announced) return false;
    it->second.state = Ahead::State::Reading;
    return true;
}

void handOverBitmap(int number, QImage image) {
    Ahead& a = ahead();
    {
        const std::lock_guard lock(a.mutex);
        auto it = a.pending.find(number);
        if (it == a.pending.end() || it->second.state != Ahead::State::Reading) return;
        it->second.image = std::move(image);
        it->second.state = Ahead::State::Read;
    }
    a.arrived.notify_all();
}

const QPixmap& bitmap(int number) { return entry(number).normal; }

const QPixmap& bitmapFor(int number, qreal devicePixelRatio) {
    Loaded& e = entry(number);
    if (devicePixelRatio <= 1.0) return e.normal;
    if (!e.denseRead) {
        e.denseRead = true;
        QPixmap twin = QPixmap::fromImage(readResourceImage(QStringLiteral(":/bitmaps/%1@2x.png").arg(number)));
        // A twin is only of use at exactly twice the bitmap's size.
        if (!twin.isNull() && !e.normal.isNull() && twin.size() == e.normal.size() * 2) {
            twin.setDevicePixelRatio(2.0);
            e.dense = twin;
        }
    }
    return e.dense.isNull() ? e.normal : e.dense;
}

bool paintBitmap(QPainter& painter, const QRect& target, int number) {
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap& picture = bitmapFor(number, ratio);
    if (picture.isNull()) return false;
    painter.save();
    // At the ratio the picture was drawn for, its pixels go across one to
    // one (a face of another size is stretched as at the normal density).
    painter.setRenderHint(QPainter::SmoothPixmapTransform, picture.devicePixelRatio() != ratio);
    painter.drawPixmap(target, picture, picture.rect());
    painter.restore();
    return true;
}

void replaceBitmap(int number, const QPixmap& pixmap) {
    Loaded& e = cache()[number];
    e.normal = pixmap;
    e.dense = QPixmap();
    e.denseRead = true;
}

void forgetBitmap(int number) { cache().remove(number); }

QSize bitmapSize(int number) {
    // The table's size: the artwork is drawn at exactly that size, so the
    // picture need not be read to lay a control out.
    if (const auto* row = ui::findBitmap(number)) return {row->width, row->height};
    const QPixmap& p = bitmap(number);
    return p.isNull() ? QSize() : p.deviceIndependentSize().toSize();
}

}  // namespace platform::qt
