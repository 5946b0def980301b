// The embedded resources against the bitmap and cue tables: every file the
// program loads is there, no more and no fewer, in the format it needs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "ui/Bitmaps.h"
#include "ui/Controls.h"
#include "ui/SoundCues.h"

namespace {

QByteArray readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

std::uint32_t le(const QByteArray& b, int at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// Numbers of the files in an embedded folder with the given suffix; any
// other file counts as a stray.
std::set<int> numberedFiles(const QString& folder, const QString& suffix, QStringList& strays) {
    std::set<int> numbers;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        bool ok = false;
        const int n = name.endsWith(suffix) ? name.chopped(suffix.size()).toInt(&ok) : 0;
        if (ok && name == QString::number(n) + suffix)
            numbers.insert(n);
        else
            strays << name;
    }
    return numbers;
}

struct BmpHeader {
    bool valid = false;
    int width = 0, height = 0, bitCount = 0, compression = -1;
};

BmpHeader parseBmp(const QByteArray& b) {
    BmpHeader h;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 14, 4) < 40) return h;
    h.width = static_cast<std::int32_t>(le(b, 18, 4));
    h.height = std::abs(static_cast<std::int32_t>(le(b, 22, 4)));
    h.bitCount = static_cast<int>(le(b, 28, 2));
    h.compression = static_cast<int>(le(b, 30, 4));
    const std::uint32_t offset = le(b, 10, 4);
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(h.width) * 3 + 3) & ~3u;
    // The pixel rows must all be in the file.
    h.valid = offset >= 54 && offset + rowBytes * static_cast<std::uint32_t>(h.height) <=
                                  static_cast<std::uint32_t>(b.size());
    return h;
}

QImage loadBitmap(int id) { return QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(id)); }

QImage loadTwin(int id) { return QImage(QStringLiteral(":/bitmaps/%1@2x.png").arg(id)); }

// The bitmaps folder holds the bitmaps and their 2x twins; anything else
// there is a stray.
QStringList bitmapStrays() {
    QStringList bmpStrays, twinStrays;
    numberedFiles(":/bitmaps", ".bmp", bmpStrays);
    numberedFiles(":/bitmaps", "@2x.png", twinStrays);
    QStringList strays;
    for (const QString& name : bmpStrays)
        if (twinStrays.contains(name)) strays << name;
    return strays;
}

TEST(InventoryTest, EveryBitmapIsEmbeddedAtItsSizeAs24BitUncompressed) {
    QStringList ignored;
    const std::set<int> present = numberedFiles(":/bitmaps", ".bmp", ignored);
    const QStringList strays = bitmapStrays();
    EXPECT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
    std::set<int> expected;
    for (const ui::BitmapSpec& row : ui::bitmapTable) {
        SCOPED_TRACE(row.id);
        expected.insert(row.id);
        const QByteArray bytes = readResource(QStringLiteral(":/bitmaps/%1.bmp").arg(row.id));
        ASSERT_FALSE(bytes.isEmpty()) << "missing: " << row.what;
        const BmpHeader h = parseBmp(bytes);
        ASSERT_TRUE(h.valid);
        EXPECT_EQ(h.width, row.width);
        EXPECT_EQ(h.height, row.height);
        EXPECT_EQ(h.bitCount, 24);
        EXPECT_EQ(h.compression, 0);
        // And the Qt layer can read it back at that size.
        const QImage image = loadBitmap(row.id);
        EXPECT_EQ(image.size(), QSize(row.width, row.height));
    }
    EXPECT_EQ(present, expected);
    EXPECT_EQ(expected.size(), static_cast<std::size_t>(ui::kBitmapCount));
}

// Mean difference per channel between two images of one size; with slack,
// the least over shifts of `b` by up to that many pixels either way (the
// border of that width left out).
double meanDifference(const QImage& a, const QImage& b, int slack = 0) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double best = 1e9;
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx) {
            double sum = 0;
            int count = 0;
            for (int row = slack; row < x.height() - slack; ++row)
                for (int col = slack; col < x.width() - slack; ++col) {
                    const QRgb p = x.pixel(col, row), q = y.pixel(col + dx, row + dy);
                    sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                           std::abs(qBlue(p) - qBlue(q));
                    ++count;
                }
            if (count > 0) best = std::min(best, sum / (3.0 * count));
        }
    return best;
}

TEST(InventoryTest, EveryBitmapHasAnOpaqueTwinAtTwiceItsSize) {
    QStringList ignored;
    const std::set<int> twins = numberedFiles(":/bitmaps", "@2x.png", ignored);
    std::set<int> expected;
    for (const ui::BitmapSpec& row : ui::bitmapTable) {
        SCOPED_TRACE(row.id);
        expected.insert(row.id);
        const QByteArray bytes = readResource(QStringLiteral(":/bitmaps/%1@2x.png").arg(row.id));
        ASSERT_FALSE(bytes.isEmpty()) << "no twin for " << row.what;
        EXPECT_TRUE(bytes.startsWith("\x89PNG")) << "not a PNG";
        const QImage twin = loadTwin(row.id);
        EXPECT_EQ(twin.size(), QSize(2 * row.width, 2 * row.height));
        EXPECT_FALSE(twin.hasAlphaChannel());
    }
    EXPECT_EQ(twins, expected);
}

TEST(InventoryTest, EachTwinIsTheSamePictureAsItsBitmapAndNoOther) {
    // A twin is close to its own bitmap enlarged (the same drawing, only
    // finer) and nearer to it than to any other bitmap of that size: no twin
    // stands under another bitmap's number. The letters, fitted to whole
    // pixels at the bitmap's size, may stand a pixel apart.
    std::map<std::pair<int, int>, std::vector<int>> bySize;
    for (const ui::BitmapSpec& row : ui::bitmapTable) bySize[{row.width, row.height}].push_back(row.id);
    auto enlarged = [](int id) {
        const QImage bitmap = loadBitmap(id);
        return bitmap.scaled(bitmap.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    for (const ui::BitmapSpec& row : ui::bitmapTable) {
        SCOPED_TRACE(row.id);
        const QImage twin = loadTwin(row.id);
        ASSERT_EQ(twin.size(), QSize(2 * row.width, 2 * row.height));
        const int slack = row.role == ui::BitmapRole::LetterTile ? 2 : 0;
        const double own = meanDifference(twin, enlarged(row.id), slack);
        EXPECT_LT(own, row.role == ui::BitmapRole::LetterTile ? 26.0 : 18.0)
            << row.what << " drawn at twice the size looks different";
        for (int other : bySize[{row.width, row.height}]) {
            if (other == row.id) continue;
            EXPECT_LT(own, meanDifference(twin, enlarged(other), slack)) << "the twin is nearer bitmap " << other;
        }
    }
}

TEST(InventoryTest, PressedFacesDifferFromNormalFacesAndTilesFromEachOther) {
    for (const ui::ControlSpec& c : ui::controlTable) {
        if (c.kind != ui::ControlKind::OwnerDrawButton) continue;
        SCOPED_TRACE(c.name);
        const QImage normal = loadBitmap(c.normalFace);
        const QImage pressed = loadBitmap(c.pressedFace);
        ASSERT_FALSE(normal.isNull());
        ASSERT_EQ(normal.size(), pressed.size());
        EXPECT_NE(normal, pressed);
    }
    std::set<qint64> seen;
    for (int k = 0; k < 26; ++k) {
        const QImage tile = loadBitmap(ui::letterTileBitmap(k)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(tile.isNull());
        // Tiles of equal size must still show different letters.
        const qint64 key = qHashBits(tile.constBits(), static_cast<std::size_t>(tile.sizeInBytes()));
        EXPECT_TRUE(seen.insert(key).second) << "tile " << char('A' + k) << " repeats another";
    }
}

TEST(InventoryTest, PicturesBlendIntoTheMainBackgroundAtTheirPlaces) {
    // A picture's top corners show the background it stands on, so the
    // pictures sit seamlessly where the controls put them.
    const QImage background = loadBitmap(48).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(background.size(), QSize(ui::kMainWidth, ui::kMainHeight));
    int pictures = 0;
    for (const ui::ControlSpec& c : ui::controlTable) {
        if (c.kind != ui::ControlKind::Picture) continue;
        if (ui::findBitmap(c.bitmap)->role == ui::BitmapRole::LetterTile) continue;  // tiles are raised faces
        SCOPED_TRACE(c.name);
        const QImage picture = loadBitmap(c.bitmap).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull());
        const int right = picture.width() - 1;
        EXPECT_EQ(picture.pixel(0, 0), background.pixel(c.left, c.top));
        EXPECT_EQ(picture.pixel(right, 0), background.pixel(c.left + right, c.top));
        ++pictures;
    }
    EXPECT_EQ(pictures, 19);
}

// A control's bitmap and the place where it shows on the main window.
struct Placed {
    QImage image;
    QRect rect;
};

Placed placed(int controlId) {
    const ui::ControlSpec* c = ui::findControl(controlId);
    const QImage image = loadBitmap(c->bitmap).convertToFormat(QImage::Format_RGB32);
    return {image, QRect(QPoint(c->left, c->top), image.size())};
}

// The number of pixels of `part` that differ from `whole` where they overlap.
int differingPixels(const Placed& part, const Placed& whole) {
    int differ = 0;
    const QRect overlap = part.rect.intersected(whole.rect);
    for (int y = overlap.top(); y <= overlap.bottom(); ++y)
        for (int x = overlap.left(); x <= overlap.right(); ++x)
            if (part.image.pixel(x - part.rect.left(), y - part.rect.top()) !=
                whole.image.pixel(x - whole.rect.left(), y - whole.rect.top()))
                ++differ;
    return differ;
}

TEST(InventoryTest, TheGallowsStagesBuildTheSameFigureAsTheLossPictures) {
    using namespace ui::id;
    const Placed loss = placed(LossFigure);
    const Placed altLoss = placed(AltLossFigure);
    ASSERT_FALSE(loss.image.isNull());
    ASSERT_FALSE(altLoss.image.isNull());
    for (int stage : {GallowsStage2, GallowsStage3, GallowsStage4, GallowsStage5, GallowsStage6}) {
        SCOPED_TRACE(ui::findControl(stage)->name);
        const Placed part = placed(stage);
        ASSERT_TRUE(loss.rect.contains(part.rect));
        // Body, arms and legs stand exactly where the whole figures have them.
        EXPECT_EQ(differingPixels(part, loss), 0);
        EXPECT_EQ(differingPixels(part, altLoss), 0);
    }
    // Only the heads tell the two figures and the two first stages apart.
    const Placed head = placed(GallowsStage1);
    const Placed altHead = placed(AltGallowsStage1);
    EXPECT_GT(differingPixels(head, altHead), 500);
    EXPECT_GT(differingPixels(head, loss), 100);
    EXPECT_GT(differingPixels(altHead, altLoss), 100);
}

TEST(InventoryTest, TheFlightFramesCrossThePictureFromLeftToRight) {
    // Each frame shows over the alternate loss figure; what it adds there
    // (the flying spirit) moves right from one frame to the next.
    const QImage background = loadBitmap(48).convertToFormat(QImage::Format_RGB32);
    const Placed altLoss = placed(ui::id::AltLossFigure);
    double lastCentre = -1;
    for (int frameId : ui::id::FlightFrames) {
        SCOPED_TRACE(ui::findControl(frameId)->name);
        const Placed frame = placed(frameId);
        ASSERT_FALSE(frame.image.isNull());
        long long sumX = 0, count = 0;
        for (int y = 0; y < frame.image.height(); ++y)
            for (int x = 0; x < frame.image.width(); ++x) {
                const QPoint at = frame.rect.topLeft() + QPoint(x, y);
                const QRgb under = altLoss.rect.contains(at)
                                       ? altLoss.image.pixel(at - altLoss.rect.topLeft())
                                       : background.pixel(at);
                if (frame.image.pixel(x, y) != under) {
                    sumX += at.x();
                    ++count;
                }
            }
        ASSERT_GT(count, 300) << "nothing to see in this frame";
        const double centre = static_cast<double>(sumX) / count;
        EXPECT_GT(centre, lastCentre);
        lastCentre = centre;
    }
}

TEST(InventoryTest, EveryWaveIsMonoPcmAtItsCueFormatAndLength) {
    QStringList strays;
    const std::set<int> present = numberedFiles(":/waves", ".wav", strays);
    EXPECT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
    std::set<int> expected;
    for (const ui::CueSpec& cue : ui::cueTable) {
        SCOPED_TRACE(cue.name);
        expected.insert(cue.resource);
        const QByteArray b = readResource(QStringLiteral(":/waves/%1.wav").arg(cue.resource));
        ASSERT_GE(b.size(), 44);
        ASSERT_EQ(b.left(4), QByteArray("RIFF"));
        ASSERT_EQ(b.mid(8, 4), QByteArray("WAVE"));
        // Walk the chunks for "fmt " and "data".
        int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
        std::uint32_t byteRate = 0;
        QByteArray data;
        for (int at = 12; at + 8 <= b.size();) {
            const QByteArray id = b.mid(at, 4);
            const std::uint32_t size = le(b, at + 4, 4);
            if (id == "fmt " && size >= 16) {
                format = static_cast<int>(le(b, at + 8, 2));
                channels = static_cast<int>(le(b, at + 10, 2));
                rate = static_cast<int>(le(b, at + 12, 4));
                byteRate = le(b, at + 16, 4);
                blockAlign = static_cast<int>(le(b, at + 20, 2));
                bits = static_cast<int>(le(b, at + 22, 2));
            } else if (id == "data") {
                data = b.mid(at + 8, static_cast<int>(size));
                EXPECT_EQ(static_cast<std::uint32_t>(data.size()), size) << "data chunk cut short";
            }
            at += 8 + static_cast<int>(size) + static_cast<int>(size & 1);
        }
        EXPECT_EQ(format, 1);
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(rate, cue.sampleRate);
        EXPECT_EQ(bits, cue.bitsPerSample);
        EXPECT_EQ(blockAlign, bits / 8);
        EXPECT_EQ(byteRate, static_cast<std::uint32_t>(rate * blockAlign));
        ASSERT_GT(blockAlign, 0);
        const int frames = static_cast<int>(data.size()) / blockAlign;
        const double seconds = static_cast<double>(frames) / cue.sampleRate;
        EXPECT_NEAR(seconds, cue.seconds, cue.seconds * 0.02);

        // Samples as -1..1: 8-bit is unsigned around 128, 16-bit signed.
        auto sample = [&](int i) {
            if (bits == 8) return (static_cast<std::uint8_t>(data[i]) - 128) / 128.0;
            return static_cast<std::int16_t>(le(data, 2 * i, 2)) / 32768.0;
        };
        ASSERT_GT(frames, 0);
        double peak = 0;
        for (int i = 0; i < frames; ++i) peak = std::max(peak, std::abs(sample(i)));
        EXPECT_GT(peak, 0.2) << "too quiet to hear";
        EXPECT_LT(peak, 0.99) << "clips";
        // Faded in and out: no click at either end.
        EXPECT_LT(std::abs(sample(0)), 0.02);
        EXPECT_LT(std::abs(sample(frames - 1)), 0.02);
    }
    EXPECT_EQ(present, expected);
}

// The icon is drawn at every size the icon theme and the window list ask
// for; at each the glyph shows: dark and light pixels both remain, and the
// corners stay transparent.
TEST(InventoryTest, TheIconIsEmbeddedAtEveryThemeSizeAndReadsAtEach) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(QStringLiteral(":/icon/%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        int dark = 0, light = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QColor c = icon.pixelColor(x, y);
                if (c.alpha() < 200) continue;
                if (c.lightness() < 80) ++dark;
                if (c.lightness() > 180) ++light;
            }
        EXPECT_GT(dark, size * size / 10) << size;
        EXPECT_GT(light, size * size / 5) << size;
        EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << size;
        EXPECT_EQ(icon.pixelColor(size - 1, size - 1).alpha(), 0) << size;
    }
}

}  // namespace
