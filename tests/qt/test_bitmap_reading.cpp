// The program reads its bitmaps itself, faster than Qt's reader: every
// bitmap must come out exactly as Qt's reader gives it.
#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QResource>

#include <gtest/gtest.h>

#include "platform/qt/Pixmaps.h"

namespace {

TEST(BitmapReading, EveryBitmapReadsAsQtsReaderGivesIt) {
    const QStringList names = QDir(QStringLiteral(":/bitmaps")).entryList({QStringLiteral("*.bmp")});
    ASSERT_GT(names.size(), 50);
    for (const QString& name : names) {
        const QString path = QStringLiteral(":/bitmaps/") + name;
        const QByteArray bytes = QResource(path).uncompressedData();
        const QImage ours = platform::qt::readPlainBmp(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
        QImageReader reader(path, "bmp");
        const QImage qts = reader.read();
        ASSERT_FALSE(qts.isNull()) << name.toStdString();
        ASSERT_FALSE(ours.isNull()) << name.toStdString();
        EXPECT_EQ(ours.format(), qts.format()) << name.toStdString();
        EXPECT_EQ(ours, qts) << name.toStdString();
        // And the pixmap the program paints.
        const int number = name.chopped(4).toInt();
        platform::qt::forgetBitmap(number);
        EXPECT_EQ(platform::qt::bitmap(number).toImage(), QPixmap::fromImage(qts).toImage()) << name.toStdString();
    }
}

TEST(BitmapReading, OtherFilesAreLeftToQtsReader) {
    QByteArray bytes = QResource(QStringLiteral(":/bitmaps/4800.bmp")).uncompressedData();
    ASSERT_GT(bytes.size(), 54);
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    EXPECT_FALSE(platform::qt::readPlainBmp(data, bytes.size()).isNull());
    // Cut short, of another depth, compressed, or no BMP at all.
    EXPECT_TRUE(platform::qt::readPlainBmp(data, bytes.size() - 1).isNull());
    QByteArray other = bytes;
    other[28] = 8;
    EXPECT_TRUE(platform::qt::readPlainBmp(reinterpret_cast<const uchar*>(other.constData()), other.size()).isNull());
    other = bytes;
    other[30] = 1;
    EXPECT_TRUE(platform::qt::readPlainBmp(reinterpret_cast<const uchar*>(other.constData()), other.size()).isNull());
    other = bytes;
    other[0] = 'X';
    EXPECT_TRUE(platform::qt::readPlainBmp(reinterpret_cast<const uchar*>(other.constData()), other.size()).isNull());
    EXPECT_TRUE(platform::qt::readPlainBmp(nullptr, 0).isNull());
}

}  // namespace
