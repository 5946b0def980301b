#include "platform/qt/Pixmaps.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>

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

Loaded& entry(int number) {
    auto& cache = platform::qt::cache();
    auto it = cache.find(number);
    if (it == cache.end()) {
        Loaded fresh;
        // Kept in the bitmap's own 24 bits rather than the 32 the reader
        // gives: a quarter less memory, which counts for the window-sized
        // backgrounds.
        const QImage image(QStringLiteral(":/bitmaps/%1.bmp").arg(number));
        if (!image.isNull())
            fresh.normal = QPixmap::fromImage(image.convertToFormat(QImage::Format_RGB888), Qt::NoFormatConversion);
        it = cache.insert(number, fresh);
    }
    return *it;
}

}  // namespace

const QPixmap& bitmap(int number) { return entry(number).normal; }

const QPixmap& bitmapFor(int number, qreal devicePixelRatio) {
    Loaded& e = entry(number);
    if (devicePixelRatio <= 1.0) return e.normal;
    if (!e.denseRead) {
        e.denseRead = true;
        QPixmap twin(QStringLiteral(":/bitmaps/%1@2x.png").arg(number));
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
    const QPixmap& p = bitmap(number);
    return p.isNull() ? QSize() : p.deviceIndependentSize().toSize();
}

QIcon windowIcon() {
    constexpr int kLargestWindowIcon = 64;
    QIcon icon;
    for (const QString& name : QDir(QStringLiteral(":/icon")).entryList(QDir::Files)) {
        if (QStringView(name).chopped(4).toInt() > kLargestWindowIcon) continue;
        const QPixmap picture(QStringLiteral(":/icon/") + name);
        if (!picture.isNull()) icon.addPixmap(picture);
    }
    return icon;
}

}  // namespace platform::qt
