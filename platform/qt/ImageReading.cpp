#include "platform/qt/ImageReading.h"

#include <png.h>

#include <QByteArray>
#include <QResource>
#include <QSysInfo>

#include <cstdint>

namespace platform::qt {

namespace {

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
    // 24 bits a pixel as in the file, red first (Qt paints RGB888 faster
    // than the file's own blue-first order).
    QImage image(width, rows, QImage::Format_RGB888);
    if (image.isNull()) return {};
    for (int y = 0; y < rows; ++y) {
        // Rows run bottom to top unless the height is negative.
        const uchar* in = data + offset + stride * (height > 0 ? rows - 1 - y : y);
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width * 3; x += 3) {
            out[x] = in[x + 2];
            out[x + 1] = in[x + 1];
            out[x + 2] = in[x];
        }
    }
    const auto xPerMetre = static_cast<std::int32_t>(le32(data + 38));
    const auto yPerMetre = static_cast<std::int32_t>(le32(data + 42));
    if (xPerMetre > 0) image.setDotsPerMeterX(xPerMetre);
    if (yPerMetre > 0) image.setDotsPerMeterY(yPerMetre);
    return image;
}

QImage readPng(const uchar* data, qint64 size) {
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return {};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, data, static_cast<std::size_t>(size)) == 0) return {};
    if (png.width == 0 || png.height == 0 || png.width > 32767 || png.height > 32767) {
        png_image_free(&png);
        return {};
    }
    // QImage's ARGB32 is a native 0xAARRGGBB word: B, G, R, A in memory on a
    // little-endian machine. A picture without alpha comes out opaque, the
    // same words as RGB32, which paints faster.
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        png_image_free(&png);
        return {};
    }
    if (png_image_finish_read(&png, nullptr, image.bits(), static_cast<png_int_32>(image.bytesPerLine()),
                              nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return image;
}

QImage readResourceImage(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid()) return {};
    const QByteArray bytes = resource.uncompressedData();
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    QImage image = path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? readPng(data, bytes.size())
                                                                              : readPlainBmp(data, bytes.size());
    if (image.isNull()) image.loadFromData(bytes);
    return image;
}

}  // namespace platform::qt
