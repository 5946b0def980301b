#include "platform/qt/Pixmaps.h"

#include <QHash>
#include <QString>

#include "ui/Bitmaps.h"

namespace platform::qt {

const QPixmap& bitmap(int number) {
    static QHash<int, QPixmap> cache;
    auto it = cache.find(number);
    if (it == cache.end()) {
        it = cache.insert(number, QPixmap(QStringLiteral(":/bitmaps/%1.bmp").arg(number)));
    }
    return *it;
}

QSize bitmapSize(int number) {
    const QPixmap& p = bitmap(number);
    if (!p.isNull()) return p.size();
    if (const auto* spec = ui::findBitmap(number)) return {spec->width, spec->height};
    return {};
}

}  // namespace platform::qt
