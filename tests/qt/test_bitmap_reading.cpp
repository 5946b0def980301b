// The program reads its embedded pictures itself, without Qt's image
// plugins: every picture must come out with exactly the pixels Qt's reader
// gives, and anything else must be refused, not misread.
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QResource>

#include <gtest/gtest.h>

#include "platform/qt/ImageReading.h"
#include "platform/qt/Pixmaps.h"
#include "ui/Bitmaps.h"

namespace {

QByteArray bytesOf(const QString& path) { return QResource(path).uncompressedData(); }

const uchar* data(const QByteArray& b) { return reinterpret_cast<const uchar*>(b.constData()); }

QImage qtsReading(const QString& path, const char* format) {
    QImageReader reader(path, format);
    return reader.read();
}

QImage asArgb(const QImage& i) { return i.convertToFormat(QImage::Format_ARGB32); }

TEST(BitmapReading, EveryBitmapReadsAsQtsReaderGivesItIn24Bits) {
    const QStringList names = QDir(QStringLiteral(":/bitmaps")).entryList({QStringLiteral("*.bmp")});
    ASSERT_EQ(names.size(), ui::kBitmapCount);
    for (const QString& name : names) {
        const QString path = QStringLiteral(":/bitmaps/") + name;
        const QByteArray bytes = bytesOf(path);
        const QImage ours = platform::qt::readPlainBmp(data(bytes), bytes.size());
        const QImage qts = qtsReading(path, "bmp");
        ASSERT_FALSE(qts.isNull()) << name.toStdString();
        ASSERT_FALSE(ours.isNull()) << name.toStdString();
        EXPECT_EQ(ours.format(), QImage::Format_RGB888) << name.toStdString();
        EXPECT_EQ(asArgb(ours), asArgb(qts)) << name.toStdString();
        // And the pixmap the program paints, kept in 24 bits.
        const int number = name.chopped(4).toInt();
        platform::qt::forgetBitmap(number);
        const QImage painted = platform::qt::bitmap(number).toImage();
        EXPECT_EQ(painted.depth(), 24) << name.toStdString();
        EXPECT_EQ(asArgb(painted), asArgb(qts)) << name.toStdString();
    }
}

TEST(BitmapReading, OtherFilesAreLeftToQtsReader) {
    QByteArray bytes = bytesOf(QStringLiteral(":/bitmaps/4800.bmp"));
    ASSERT_GT(bytes.size(), 54);
    EXPECT_FALSE(platform::qt::readPlainBmp(data(bytes), bytes.size()).isNull());
    // Cut short, of another depth, compressed, or no BMP at all.
    EXPECT_TRUE(platform::qt::readPlainBmp(data(bytes), bytes.size() - 1).isNull());
    QByteArray other = bytes;
    other[28] = 8;
    EXPECT_TRUE(platform::qt::readPlainBmp(data(other), other.size()).isNull());
    other = bytes;
    other[30] = 1;
    EXPECT_TRUE(platform::qt::readPlainBmp(data(other), other.size()).isNull());
    other = bytes;
    other[0] = 'X';
    EXPECT_TRUE(platform::qt::readPlainBmp(data(other), other.size()).isNull());
    EXPECT_TRUE(platform::qt::readPlainBmp(nullptr, 0).isNull());
}

TEST(BitmapReading, ATopDownBitmapReadsTheRightWayUp) {
    // A negative height: the rows run from the top.
    QImage source(3, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(2, 0, qRgb(0, 0, 255));
    source.setPixel(0, 1, qRgb(1, 2, 3));
    source.setPixel(1, 1, qRgb(4, 5, 6));
    source.setPixel(2, 1, qRgb(7, 8, 9));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"));
    ASSERT_EQ(bmp[28], 24);
    const QImage bottomUp = platform::qt::readPlainBmp(data(bmp), bmp.size());
    EXPECT_EQ(asArgb(bottomUp), asArgb(source));
    // The same pixels stored top first.
    QByteArray topDown = bmp;
    const int offset = static_cast<uchar>(bmp[10]) | static_cast<uchar>(bmp[11]) << 8;
    const int stride = 12;   // 3 pixels of 3 bytes, padded to 4
    for (int i = 0; i < stride; ++i) {
        topDown[offset + i] = bmp[offset + stride + i];
        topDown[offset + stride + i] = bmp[offset + i];
    }
    const qint32 negative = -2;
    for (int i = 0; i < 4; ++i) topDown[22 + i] = static_cast<char>((static_cast<quint32>(negative) >> (8 * i)) & 0xFF);
    EXPECT_EQ(asArgb(platform::qt::readPlainBmp(data(topDown), topDown.size())), asArgb(source));
}

TEST(PngReading, EveryEmbeddedPngReadsAsQtsReaderGivesIt) {
    QStringList paths;
    for (const QString& name : QDir(QStringLiteral(":/icon")).entryList(QDir::Files))
        paths << QStringLiteral(":/icon/") + name;
    for (const QString& name : QDir(QStringLiteral(":/bitmaps")).entryList({QStringLiteral("*.png")}))
        paths << QStringLiteral(":/bitmaps/") + name;
    ASSERT_GE(paths.size(), 7 + ui::kBitmapCount);
    for (const QString& path : paths) {
        const QByteArray bytes = bytesOf(path);
        const QImage ours = platform::qt::readPng(data(bytes), bytes.size());
        const QImage qts = qtsReading(path, "png");
        ASSERT_FALSE(qts.isNull()) << path.toStdString();
        ASSERT_FALSE(ours.isNull()) << path.toStdString();
        EXPECT_EQ(ours.hasAlphaChannel(), qts.hasAlphaChannel()) << path.toStdString();
        EXPECT_EQ(asArgb(ours), asArgb(qts)) << path.toStdString();
        EXPECT_EQ(asArgb(platform::qt::readResourceImage(path)), asArgb(qts)) << path.toStdString();
    }
}

TEST(PngReading, DamagedOrForeignBytesGiveNoPicture) {
    const QByteArray png = bytesOf(QStringLiteral(":/icon/32.png"));
    ASSERT_FALSE(platform::qt::readPng(data(png), png.size()).isNull());
    EXPECT_TRUE(platform::qt::readPng(nullptr, 0).isNull());
    EXPECT_TRUE(platform::qt::readPng(data(png), 7).isNull());
    EXPECT_TRUE(platform::qt::readPng(data(png), png.size() / 2).isNull()) << "cut in the middle of its data";
    QByteArray damaged = png;
    damaged[png.size() / 2] = static_cast<char>(damaged[png.size() / 2] ^ 0x5A);
    EXPECT_TRUE(platform::qt::readPng(data(damaged), damaged.size()).isNull()) << "a checksum that does not match";
    const QByteArray bmp = bytesOf(QStringLiteral(":/bitmaps/4800.bmp"));
    EXPECT_TRUE(platform::qt::readPng(data(bmp), bmp.size()).isNull());
    // A missing resource is no picture either.
    EXPECT_TRUE(platform::qt::readResourceImage(QStringLiteral(":/bitmaps/1.bmp")).isNull());
}

}  // namespace
