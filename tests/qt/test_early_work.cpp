// Start-up work done on a second thread: the pictures it reads ahead reach
// the main thread whole and exactly once, a picture it has not got to yet is
// read by whoever wants it, and what it works out about fonts is what the
// main thread would have worked out.
#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/qt/Controls.h"
#include "platform/qt/EarlyWork.h"
#include "platform/qt/ImageReading.h"
#include "platform/qt/Pixmaps.h"

namespace {

using namespace std::chrono_literals;
namespace pq = platform::qt;

constexpr int kFace = 4800;   // GuessPhraseButton's normal face
constexpr int kTile = 130;    // the letter A

QImage solid(int number, QRgb colour) {
    const QSize size = pq::bitmapSize(number);
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

class ReadAhead : public ::testing::Test {
protected:
    void SetUp() override {
        pq::forgetBitmap(kFace);
        pq::forgetBitmap(kTile);
    }
    void TearDown() override {
        pq::forgetBitmap(kFace);
        pq::forgetBitmap(kTile);
    }
};

TEST_F(ReadAhead, AClaimedBitmapIsWaitedForAndTakenAsHandedOver) {
    pq::announceBitmaps({kFace});
    ASSERT_TRUE(pq::claimBitmap(kFace));
    EXPECT_FALSE(pq::claimBitmap(kFace)) << "claimed twice";
    std::atomic<bool> handed{false};
    std::thread reader([&] {
        std::this_thread::sleep_for(150ms);
        handed = true;
        pq::handOverBitmap(kFace, solid(kFace, qRgb(10, 200, 30)));
    });
    const QImage got = pq::bitmap(kFace).toImage();
    EXPECT_TRUE(handed) << "the look-up did not wait for the picture being read";
    reader.join();
    EXPECT_EQ(got.pixel(3, 3), qRgb(10, 200, 30)) << "not the handed-over picture";
    // Taken once: a second hand-over of the same number is dropped.
    pq::handOverBitmap(kFace, solid(kFace, qRgb(0, 0, 0)));
    EXPECT_EQ(pq::bitmap(kFace).toImage().pixel(3, 3), qRgb(10, 200, 30));
}

TEST_F(ReadAhead, ABitmapNotYetClaimedIsReadByTheLookerAndTheLateClaimFails) {
    pq::announceBitmaps({kTile});
    const QImage got = pq::bitmap(kTile).toImage();
    const QImage fromFile = pq::readResourceImage(QStringLiteral(":/bitmaps/130.bmp"));
    EXPECT_EQ(got.convertToFormat(QImage::Format_RGB32), fromFile.convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(pq::claimBitmap(kTile)) << "the thread would read it a second time";
    pq::handOverBitmap(kTile, solid(kTile, qRgb(1, 2, 3)));
    EXPECT_EQ(pq::bitmap(kTile).toImage().convertToFormat(QImage::Format_RGB32), fromFile.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ReadAhead, AnUnreadablePictureHandedOverShowsNothingRatherThanHanging) {
    pq::announceBitmaps({kFace});
    ASSERT_TRUE(pq::claimBitmap(kFace));
    pq::handOverBitmap(kFace, QImage());
    auto lookUp = std::async(std::launch::async, [] { return pq::bitmap(kFace).isNull(); });
    ASSERT_EQ(lookUp.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(lookUp.get());
    EXPECT_EQ(pq::bitmapSize(kFace), QSize(115, 34)) << "the table still lays the control out";
}

TEST(EarlyWork, TheWindowIconComesAtEachSizeUpTo64AndTheThreadEnds) {
    pq::earlywork::begin({});
    pq::earlywork::applicationReady();
    const std::vector<QImage> icon = pq::earlywork::iconImages();
    std::vector<int> sizes;
    for (const QImage& image : icon) {
        EXPECT_EQ(image.width(), image.height());
        EXPECT_TRUE(image.hasAlphaChannel());
        sizes.push_back(image.width());
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64}));
    auto finished = std::async(std::launch::async, [] {
        pq::earlywork::finish();
        pq::earlywork::finish();
    });
    EXPECT_EQ(finished.wait_for(20s), std::future_status::ready) << "the thread did not end";
}

TEST(EarlyWork, FontsFittedOnAnotherThreadAreFittedAsOnTheMainThread) {
    for (int cell : {22, 30, 44}) {
        QFont f(QStringLiteral("Courier New"));
        f.setBold(true);
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
        const QFont here = pq::withCellHeight(f, cell);
        QFont there;
        std::thread([&] { there = pq::withCellHeight(f, cell); }).join();
        EXPECT_EQ(there.pixelSize(), here.pixelSize()) << cell;
        EXPECT_EQ(there.letterSpacing(), here.letterSpacing()) << cell;
        EXPECT_EQ(QFontMetrics(there).height(), QFontMetrics(here).height()) << cell;
    }
    // The fitted phrase font, whichever thread fitted it first.
    QFont onAThread;
    std::thread([&] { onAThread = pq::controlFont(ui::ControlFont::Phrase); }).join();
    const QFont onMain = pq::controlFont(ui::ControlFont::Phrase);
    EXPECT_EQ(onAThread.pixelSize(), onMain.pixelSize());
    EXPECT_LE(QFontMetrics(onMain).height(), pq::kPhraseCellHeight);
}

}  // namespace
