// The program's icon: a raised ivory tile with a bold T, the same look as the
// letter tiles. Drawn afresh at every size rather than scaled, so the small
// sizes stay crisp: the T sits on whole pixels and the inner gold frame,
// which would only blur at 16 and 24 pixels, is left out there.
#include <QLinearGradient>

#include <algorithm>
#include <cmath>

#include "tools/art/Art.h"

namespace art {

namespace {

int scaled(double at32, double k) { return static_cast<int>(std::lround(at32 * k)); }

}  // namespace

QImage icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    prepare(p);
    const double k = size / 32.0;

    // The tile with its dark edge; the edge is at least one pixel wide.
    const double edge = std::max(1.0, std::round(2.0 * k));
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, QColor(0xfb, 0xf4, 0xdf));
    fill.setColorAt(1, QColor(0xdc, 0xc9, 0x98));
    p.setPen(QPen(QColor(0x4e, 0x33, 0x1c), edge));
    p.setBrush(fill);
    const double half = edge / 2.0;
    p.drawRoundedRect(QRectF(half, half, size - edge, size - edge), 6 * k, 6 * k);

    if (size >= 32) {
        const double frame = 1.5 * k;
        const double inset = 3.5 * k;
        p.setPen(QPen(colour::gold.darker(110), frame));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), 4 * k, 4 * k);
    }

    // The T on whole pixels, its stem centred exactly.
    const int margin = std::max(3, scaled(7, k));
    const int thickness = std::max(2, scaled(5, k));
    int stem = thickness;
    if ((size - stem) % 2 != 0) ++stem;
    const int stemHeight = size - 2 * margin;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::tileInk);
    p.drawRect(QRect(margin, margin, size - 2 * margin, thickness));
    p.drawRect(QRect((size - stem) / 2, margin, stem, stemHeight));
    return img;
}

}  // namespace art
