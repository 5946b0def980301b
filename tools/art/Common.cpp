// Fonts, text and the BMP encoder shared by all painters.
#include <QFontDatabase>
#include <QFontMetrics>

#include "tools/art/Art.h"

namespace art {

namespace {
const char* const kSans = "Liberation Sans";
const char* const kSerif = "Liberation Serif";
}  // namespace

bool fontsAvailable() {
    const QStringList families = QFontDatabase::families();
    return families.contains(kSans) && families.contains(kSerif);
}

QFont uiFont(int pixelSize, bool bold) {
    QFont f(kSans);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont titleFont(int pixelSize) {
    QFont f(kSerif);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setItalic(true);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QImage canvas(int width, int height, int scale, QImage::Format format) {
    QImage img(width * scale, height * scale, format);
    img.setDevicePixelRatio(scale);
    return img;
}

void drawLabel(QPainter& p, const QRect& rect, const QString& text, const QFont& font,
               const QColor& colour, const QColor& shadow) {
    p.save();
    p.setFont(font);
    if (shadow.isValid()) {
        p.setPen(shadow);
        p.drawText(rect.translated(0, 1), Qt::AlignCenter, text);
    }
    p.setPen(colour);
    p.drawText(rect, Qt::AlignCenter, text);
    p.restore();
}

int fittingSize(const QString& text, int width, int maxSize, bool bold) {
    int size = maxSize;
    while (size > 7 && QFontMetrics(uiFont(size, bold)).horizontalAdvance(text) > width) --size;
    return size;
}

QByteArray encodeBmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int w = image.width(), h = image.height();
    const int rowBytes = (w * 3 + 3) & ~3;
    const quint32 pixelBytes = static_cast<quint32>(rowBytes * h);
    QByteArray out;
    auto put = [&out](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    // BITMAPFILEHEADER
    out.append("BM", 2);
    put(14 + 40 + pixelBytes, 4);
    put(0, 4);
    put(14 + 40, 4);
    // BITMAPINFOHEADER
    put(40, 4);
    put(static_cast<quint32>(w), 4);
    put(static_cast<quint32>(h), 4);  // positive: rows stored bottom-up
    put(1, 2);                          // planes
    put(24, 2);                         // bits per pixel
    put(0, 4);                          // BI_RGB, uncompressed
    put(pixelBytes, 4);
    put(2835, 4);                       // 72 dpi
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(line[3 * x + 2]));  // blue
            out.append(static_cast<char>(line[3 * x + 1]));  // green
            out.append(static_cast<char>(line[3 * x + 0]));  // red
        }
        for (int pad = w * 3; pad < rowBytes; ++pad) out.append('\0');
    }
    return out;
}

}  // namespace art
