#include "platform/qt/Pixmaps.h"

#include <QHash>
#include <QString>

#include "ui/Bitmaps.h"

namespace platform::qt {

namespace {
QHash<int, QPixmap>& cache() {
    static QHash<int, QPixmap> loaded;
    return loaded;
}
}  // namespace

const QPixmap& bitmap(int number) {
    auto& cache = platform::qt::cache();
    auto it = cache.find(number);
    if (it == cache.end()) {
        it = cache.insert(number, QPixmap(QStringLiteral(":/bitmaps/%1.bmp").arg(number)));
    }
    return *it;
}

void replaceBitmap(int number, const QPixmap& pixmap) { cache().insert(number, pixmap); }

QSize bitmapSize(int number) {
    const QPixmap& p = bitmap(number);
    if (!p.isNull()) return p.size();
    if (const auto* row = ui::findBitmap(number)) return {row->width, row->height};
    return {};
}

}  // namespace platform::qt
