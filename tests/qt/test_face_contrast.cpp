// The button faces as the art generator drew them: their text stands out
// from the face behind it by at least the 4.5:1 that WCAG 2.1 AA asks of
// text, normal and pressed faces alike, at both densities.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "ui/Controls.h"

namespace {

double channel(int c) {
    const double s = c / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double luminance(QRgb p) {
    return 0.2126 * channel(qRed(p)) + 0.7152 * channel(qGreen(p)) + 0.0722 * channel(qBlue(p));
}

double ratio(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The face's text (or glyph) is its lightest ink. Behind it lies the face's
// own shade, which the edges of every row show inside the border and bevel:
// the labels keep four pixels clear on either side. The ratio is taken at
// the weakest place of the whole face.
double faceContrast(const QImage& face, int scale) {
    const int inset = 3 * scale;
    double ink = 0.0, lightestShade = 0.0;
    for (int y = inset; y < face.height() - inset; ++y) {
        for (int x = inset; x < face.width() - inset; ++x) ink = std::max(ink, luminance(face.pixel(x, y)));
        for (int x : {inset, face.width() - 1 - inset}) lightestShade = std::max(lightestShade, luminance(face.pixel(x, y)));
    }
    return ratio(ink, lightestShade);
}

QImage face(int number, bool dense) {
    const QString dir = QStringLiteral(TARVIK_SOURCE_DIR "/resources/bitmaps/");
    return QImage(dir + QString::number(number) + (dense ? QStringLiteral("@2x.png") : QStringLiteral(".bmp")));
}

TEST(FaceContrast, EveryFaceReadsAtLeastFourAndAHalfToOne) {
    std::set<int> faces;
    for (const ui::ControlSpec& c : ui::controlTable) {
        if (c.kind != ui::ControlKind::OwnerDrawButton) continue;
        faces.insert(c.normalFace);
        faces.insert(c.pressedFace);
    }
    ASSERT_EQ(faces.size(), 34u);   // 18 buttons, two of them sharing their pair
    for (int number : faces) {
        for (bool dense : {false, true}) {
            const QImage image = face(number, dense);
            ASSERT_FALSE(image.isNull()) << number;
            const double r = faceContrast(image, dense ? 2 : 1);
            EXPECT_GE(r, 4.5) << "face " << number << (dense ? " (2x)" : "") << " measures " << r << ":1";
        }
    }
}

TEST(FaceContrast, TheMeasureTellsAPaleFaceFromADarkOne) {
    // White text on a light blue face fails, on a dark blue one passes.
    for (const auto& [background, passes] : {std::pair{qRgb(0x52, 0x9f, 0xc4), false}, std::pair{qRgb(0x1c, 0x4c, 0x6c), true}}) {
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(background);
        for (int x = 10; x < 20; ++x)
            for (int y = 6; y < 14; ++y) image.setPixel(x, y, qRgb(255, 255, 255));
        EXPECT_EQ(faceContrast(image, 1) >= 4.5, passes) << faceContrast(image, 1);
    }
}

}  // namespace
