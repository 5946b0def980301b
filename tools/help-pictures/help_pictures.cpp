// help-pictures <bitmap dir> <out dir>
//
// Draws the pictures of the help document: each scene of Scenes.cpp is the
// window's background bitmap with every visible control at its place from
// the control table (button faces, pictures, light-grey text fields), and
// each button's normal face on its own for the pages. Deterministic: the
// same bitmaps and fonts give the same PNG files. Run with
// QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "Scenes.h"
#include "ui/Controls.h"

namespace {

using help_pictures::Scene;
using ui::ControlKind;

QString bitmapDir;

constexpr int kMainPictureWidth = 720;
constexpr int kMainPictureHeight = 496;

QImage bitmap(int number) {
    QImage image(bitmapDir + QString("/%1.bmp").arg(number));
    if (image.isNull()) {
        std::fprintf(stderr, "help-pictures: bitmap %d missing in %s\n", number, qPrintable(bitmapDir));
        std::exit(1);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QFont fontFor(ui::ControlFont f) {
    QFont font(f == ui::ControlFont::Phrase ? "Liberation Mono" : "Liberation Sans");
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (f == ui::ControlFont::Phrase) {
        font.setPixelSize(22);
        font.setBold(true);
    } else {
        font.setPixelSize(f == ui::ControlFont::Interface ? 12 : 13);
    }
    return font;
}

void drawText(QPainter& p, const ui::ControlSpec& c, const QString& text) {
    const QRect r(c.left, c.top, c.width, c.height);
    p.fillRect(r, QColor(0xC0, 0xC0, 0xC0));
    if (text.isEmpty()) return;
    p.setFont(fontFor(c.font));
    p.setPen(Qt::black);
    const bool centred = c.kind == ControlKind::TextCentered;
    const int flags = centred ? (Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap)
                              : (Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
    p.drawText(r.adjusted(c.kind == ControlKind::Edit ? 2 : 0, 0, 0, 0), flags, text);
}

QImage render(const Scene& s) {
    int background = 0;
    int width = 0;
    int height = 0;
    for (const auto& w : ui::windowSpecs(1024, 768)) {
        if (w.window == s.window) {
            background = w.backgroundBitmap;
            width = w.width;
            height = w.height;
        }
    }
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.drawImage(0, 0, bitmap(background));

    const std::set<int> shown(s.shown.begin(), s.shown.end());
    const std::set<int> hidden(s.hidden.begin(), s.hidden.end());
    // In creation order. The pictures that share a place are never shown
    // together; of the phrase line and its underlay only the top one shows.
    for (const auto& c : ui::controlTable) {
        if (c.parent != s.window || c.id == ui::id::PhraseUnderlay) continue;
        const bool visible = (c.visibleAtStart || shown.count(c.id) != 0) && hidden.count(c.id) == 0;
        if (!visible) continue;
        const auto text = s.texts.count(c.id) != 0 ? QString::fromLatin1(s.texts.at(c.id).c_str()) : QString();
        switch (c.kind) {
            case ControlKind::OwnerDrawButton:
                p.drawImage(QRect(c.left, c.top, c.width, c.height), bitmap(c.normalFace));
                break;
            case ControlKind::Picture:
                p.drawImage(c.left, c.top, bitmap(c.bitmap));
                break;
            default:
                drawText(p, c, text);
                break;
        }
    }
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "help-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: help-pictures <bitmap dir> <out dir>\n");
        return 2;
    }
    bitmapDir = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out + "/buttons");

    bool ok = true;
    for (const auto& scene : help_pictures::scenes()) {
        QImage image = render(scene);
        // The main window at 80 %, so it fits a help viewer's page.
        if (scene.window == platform::Window::Main) {
            image = image.scaled(kMainPictureWidth, kMainPictureHeight, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        }
        ok = save(image, out + "/" + QString::fromStdString(scene.file)) && ok;
    }
    for (const auto& [name, face] : help_pictures::buttonFaces()) {
        ok = save(bitmap(face), out + "/buttons/" + QString::fromStdString(name) + ".png") && ok;
    }
    return ok ? 0 : 1;
}
