// make_art: draws every bitmap of the game and its icon.
//
// Usage: make_art <resources directory> [preview directory]
//   e.g. QT_QPA_PLATFORM=offscreen build/tools/art/make_art resources /tmp/art
// Writes <resources>/bitmaps/<number>.bmp for every entry of ui::bitmapTable
// (24-bit, uncompressed, at the table's size), beside it <number>@2x.png, the
// same drawing at twice the size for high-density screens, and
// <resources>/icon/<size>.png at every icon size from 16 to 256 pixels.
// With a preview directory it also writes PNG composites of the windows with
// their pictures in place, for looking at the artwork. Needs the Liberation
// fonts; the output is deterministic, so rerunning reproduces the committed
// files byte for byte.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

#include "tools/art/Art.h"
#include "ui/Bitmaps.h"
#include "ui/Controls.h"

namespace {

QImage drawBitmap(const ui::BitmapSpec& row, int scale = 1) {
    switch (row.role) {
        case ui::BitmapRole::Background:
            if (row.id == 48) return art::mainBackground(scale);
            if (row.id == 100) return art::addPuzzleBackground(scale);
            if (row.id == 1870) return art::messagePicture(scale);
            return {};
        case ui::BitmapRole::ButtonNormal:
            return art::buttonFace(row.id, row.width, row.height, false, scale);
        case ui::BitmapRole::ButtonPressed:
            for (const ui::ControlSpec& c : ui::controlTable)
                if (c.kind == ui::ControlKind::OwnerDrawButton && c.pressedFace == row.id)
                    return art::buttonFace(c.normalFace, row.width, row.height, true, scale);
            return {};
        case ui::BitmapRole::LetterTile:
            return art::letterTile(static_cast<char>('A' + (row.id - 130) / 60), row.width,
                                   row.height, scale);
        case ui::BitmapRole::Picture:
            return art::mainPicture(row.id, row.width, row.height, scale);
    }
    return {};
}

// An opaque 24-bit PNG, compressed as far as it goes.
QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(0);   // for PNG: the strongest compression
    writer.write(image.convertToFormat(QImage::Format_RGB888));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Pastes the bitmap of every control in `ids` at its place.
void paste(QImage& onto, std::initializer_list<int> ids) {
    QPainter p(&onto);
    for (int id : ids) {
        const ui::ControlSpec* c = ui::findControl(id);
        const ui::BitmapSpec* b = ui::findBitmap(c->bitmap ? c->bitmap : c->normalFace);
        p.drawImage(c->left, c->top, drawBitmap(*b));
    }
}

void writePreviews(const QString& dir) {
    using namespace ui::id;
    QImage board = art::mainBackground();
    {
        QPainter p(&board);
        for (const ui::ControlSpec& c : ui::controlTable) {
            if (c.parent != ui::Window::Main) continue;
            if (c.kind == ui::ControlKind::OwnerDrawButton)
                p.drawImage(QRect(c.left, c.top, c.width, c.height),
                            drawBitmap(*ui::findBitmap(c.normalFace)));
            else if (c.kind == ui::ControlKind::Picture && c.visibleAtStart)
                p.drawImage(c.left, c.top, drawBitmap(*ui::findBitmap(c.bitmap)));
        }
    }
    board.save(dir + "/main-start.png");
    art::mainBackground().copy(60, 465, 520, 85).scaled(1040, 170).save(dir + "/zoom-tray.png");
    QImage stages = board;
    paste(stages, {GallowsStage1, GallowsStage2, GallowsStage3, GallowsStage4, GallowsStage5,
                   GallowsStage6, WinPictureLeft, WinPictureRight});
    stages.save(dir + "/main-stages.png");
    stages.copy(180, 70, 300, 340).scaled(600, 680).save(dir + "/zoom-stages.png");
    QImage loss = board;
    paste(loss, {LossFigure});
    loss.save(dir + "/main-loss.png");
    loss.copy(180, 70, 300, 340).scaled(600, 680).save(dir + "/zoom-loss.png");
    QImage alt = board;
    paste(alt, {AltLossFigure, FigureModeIndicator, FlightFrame1, FlightFrame3, FlightFrame5,
                FlightFrame7});
    alt.save(dir + "/main-alt.png");
    alt.copy(10, 66, 620, 200).scaled(1240, 400).save(dir + "/zoom-alt.png");
    QImage altEven = board;
    paste(altEven, {AltGallowsStage1, GallowsStage2, FlightFrame2, FlightFrame4, FlightFrame6});
    altEven.save(dir + "/main-alt-even.png");

    QImage add = art::addPuzzleBackground();
    {
        QPainter p(&add);
        for (const ui::ControlSpec& c : ui::controlTable)
            if (c.parent == ui::Window::AddPuzzle && c.kind == ui::ControlKind::OwnerDrawButton)
                p.drawImage(QRect(c.left, c.top, c.width, c.height),
                            drawBitmap(*ui::findBitmap(c.id == ViewButton ? c.pressedFace : c.normalFace)));
    }
    add.save(dir + "/add.png");
    QImage message = art::messagePicture();
    paste(message, {});
    {
        QPainter p(&message);
        const ui::ControlSpec* c = ui::findControl(MessageCloseButton);
        p.drawImage(c->left, c->top, drawBitmap(*ui::findBitmap(c->normalFace)));
    }
    message.save(dir + "/message.png");

    // Every button face, normal beside pressed, and the tiles, enlarged.
    QImage sheet(420, 420, QImage::Format_RGB32);
    sheet.fill(art::colour::board);
    {
        QPainter p(&sheet);
        int x = 4, y = 4, rowHeight = 0;
        for (const ui::BitmapSpec& b : ui::bitmapTable) {
            if (b.role != ui::BitmapRole::ButtonNormal && b.role != ui::BitmapRole::ButtonPressed &&
                b.role != ui::BitmapRole::LetterTile)
                continue;
            if (x + b.width > 416) {
                x = 4;
                y += rowHeight + 4;
                rowHeight = 0;
            }
            p.drawImage(x, y, drawBitmap(b));
            x += b.width + 4;
            rowHeight = std::max(rowHeight, b.height);
        }
        int iconX = 4;
        for (int size : {16, 24, 32, 48}) {
            p.drawImage(iconX, 360, art::icon(size));
            iconX += size + 4;
        }
    }
    sheet.scaled(840, 840).save(dir + "/faces.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <resources directory> [preview directory]\n", argv[0]);
        return 2;
    }
    if (!art::fontsAvailable()) {
        std::fprintf(stderr, "the Liberation fonts are missing (Debian: fonts-liberation)\n");
        return 1;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(root + "/bitmaps");
    QDir().mkpath(root + "/icon");
    for (const ui::BitmapSpec& row : ui::bitmapTable) {
        for (int scale : {1, 2}) {
            const QImage image = drawBitmap(row, scale);
            if (image.width() != row.width * scale || image.height() != row.height * scale) {
                std::fprintf(stderr, "bitmap %d (%s) at scale %d came out %dx%d, not %dx%d\n", row.id,
                             row.what, scale, image.width(), image.height(), row.width * scale,
                             row.height * scale);
                return 1;
            }
            // The bitmaps themselves stay 24-bit BMPs; their twins are only
            // ever displayed, and as PNG they take a twentieth of the room.
            const QString path = scale == 1 ? root + QStringLiteral("/bitmaps/%1.bmp").arg(row.id)
                                            : root + QStringLiteral("/bitmaps/%1@2x.png").arg(row.id);
            const bool written = scale == 1 ? writeFile(path, art::encodeBmp24(image))
                                            : writeFile(path, encodePng(image));
            if (!written) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    for (int size : art::kIconSizes) {
        if (!art::icon(size).save(root + QStringLiteral("/icon/%1.png").arg(size), "PNG")) {
            std::fprintf(stderr, "cannot write the icon at %d pixels\n", size);
            return 1;
        }
    }
    if (argc == 3) {
        QDir().mkpath(QString::fromLocal8Bit(argv[2]));
        writePreviews(QString::fromLocal8Bit(argv[2]));
    }
    std::printf("wrote %d bitmaps, their 2x twins and the icon under %s\n", ui::kBitmapCount, argv[1]);
    return 0;
}
