#include "platform/qt/Pixmaps.h"

#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QResource>
#include <QString>

#include <cstdint>

#include "ui/Bitmaps.h"

namespace platform::qt {

namespace {

struct Loaded {
    QPixmap normal;
    QPixmap dense;           // the 2x twin; null where there is none
    bool denseRead = false;  // whether the twin was looked for
};

QHash<int, Loaded>& cache() {
    static QHash<int, Loaded> loaded;
    return loaded;
}

std::uint32_t le32(const uchar* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

QImage readPlainBmp(const uchar* data, qint64 size) {
    // The file header, then a header of the Windows 3 kind or later.
    if (data == nullptr || size < 54 || data[0] != 'B' || data[1] != 'M') return {};
    const std::uint32_t offset = le32(data + 10);
    if (le32(data + 14) < 40) return {};
    const auto width = static_cast<std::int32_t>(le32(data + 18));
    const auto height = static_cast<std::int32_t>(le32(data + 22));
    const unsigned bits = data[28] | data[29] << 8;
    if (bits != 24 || le32(data + 30) != 0 || width <= 0 || height == 0 || width > 32767 || height > 32767 ||
        height < -32767)
        return {};
    const int rows = height > 0 ? height : -height;
    const qint64 stride = (qint64(width) * 3 + 3) & ~qint64(3);
    if (qint64(offset) + stride * rows > size) return {};
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < rows; ++y) {
        // Rows run bottom to top unless the height is negative.
        const uchar* in = data + offset + stride * (height > 0 ? rows - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
    }
    const auto xPerMetre = static_cast<std::int32_t>(le32(data + 38));
    const auto yPerMetre = static_cast<std::int32_t>(le32(data + 42));
    if (xPerMetre > 0) image.setDotsPerMeterX(xPerMetre);
    if (yPerMetre > 0) image.setDotsPerMeterY(yPerMetre);
    return image;
}

namespace {

// Every bitmap of the game is an uncompressed 24-bit one, which
// readPlainBmp reads straight from the resource, many times faster than
// Qt's reader pixel by pixel (the main window's background alone took a
// quarter of the start-up); anything else goes to Qt's reader.
QPixmap loadBitmap(const QString& path) {
    const QResource resource(path);
    if (resource.isValid()) {
        const QByteArray bytes = resource.uncompressedData();
        QImage image = readPlainBmp(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
        if (!image.isNull()) return QPixmap::fromImage(std::move(image));
    }
    return QPixmap(path);
}

Loaded& entry(int number) {
    auto& cache = platform::qt::cache();
    auto it = cache.find(number);
    if (it == cache.end()) {
        Loaded fresh;
        fresh.normal = loadBitmap(QStringLiteral(":/bitmaps/%1.bmp").arg(number));
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
    if (!p.isNull()) return p.deviceIndependentSize().toSize();
    if (const auto* row = ui::findBitmap(number)) return {row->width, row->height};
    return {};
}

}  // namespace platform::qt
