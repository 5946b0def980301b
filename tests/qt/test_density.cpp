// The program on a high-density desktop: ctest runs these at device pixel
// ratios 1, 1.5 and 2. Everything the logic sees stays in logical pixels,
// the pictures come from their 2x twins above 1, and the text keeps its
// logical size.
#include <QFontMetricsF>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "QtFixture.h"
#include "platform/qt/Pixmaps.h"
#include "ui/Bitmaps.h"

namespace {

using platform::Message;
using platform::Window;
using qt_testing::QtProgramTest;
using qt_testing::testRatio;

class DensityTest : public QtProgramTest {};

// The part `logical` (in the bitmap's own pixels) of a bitmap or of its
// twin, brought smoothly to `deviceSize`.
QImage region(int number, bool twin, const QRect& logical, const QSize& deviceSize) {
    const QImage whole = twin ? QImage(QStringLiteral(":/bitmaps/%1@2x.png").arg(number))
                              : QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(number));
    const int k = twin ? 2 : 1;
    const QImage part = whole.copy(QRect(logical.topLeft() * k, logical.size() * k));
    return part.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// The rightmost column (in logical pixels) that holds dark ink.
double inkRight(const QImage& image) {
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 100) return (x + 1) / image.devicePixelRatio();
    return 0;
}

TEST_F(DensityTest, WindowsPaintAtTheDesktopsRatioWhileTheLayoutStaysLogical) {
    start();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_DOUBLE_EQ(window(Window::Main)->devicePixelRatioF(), testRatio());
    // Positions come from the logical screen, sizes are the layout's own.
    const platform::Size size = desk->screenSize();
    EXPECT_EQ(size.width, screen->size().width());
    EXPECT_EQ(size.height, screen->size().height());
    EXPECT_EQ(desk->windowRect(Window::Main),
              (platform::Rect{size.width / 2 - 450, size.height / 2 - 378, size.width / 2 + 450,
                              size.height / 2 + 242}));
    // A control's rectangle on the screen, as the letter-tile hit test reads it.
    const platform::Rect main = desk->windowRect(Window::Main);
    EXPECT_EQ(desk->controlRect(ui::id::LetterTile(0)),
              (platform::Rect{main.left + 86, main.top + 479, main.left + 105, main.top + 499}));
    EXPECT_EQ(desk->clientToScreen(Window::Main, {95, 489}),
              (platform::Point{main.left + 95, main.top + 489}));
}

TEST_F(DensityTest, ArrowKeysMoveBothWindowsTwoLogicalPixelsWithoutDrift) {
    start(false);   // the game's own window procedure
    const platform::Rect main = desk->windowRect(Window::Main);
    const platform::Rect add = desk->windowRect(Window::AddPuzzle);
    // At 1.5 two logical pixels are three device pixels; rounding must not
    // creep in over many moves.
    for (int i = 1; i <= 9; ++i) {
        platform::sendMessage(Window::Main, Message::KeyDown, platform::VK_LEFT, 0);
        platform::sendMessage(Window::Main, Message::KeyDown, platform::VK_DOWN, 0);
        QCoreApplication::processEvents();
        SCOPED_TRACE(i);
        EXPECT_EQ(desk->windowRect(Window::Main),
                  (platform::Rect{main.left - 2 * i, main.top + 2 * i, main.right - 2 * i, main.bottom + 2 * i}));
        EXPECT_EQ(desk->windowRect(Window::AddPuzzle),
                  (platform::Rect{add.left - 2 * i, add.top + 2 * i, add.right - 2 * i, add.bottom + 2 * i}));
    }
    for (int i = 0; i < 9; ++i) {
        platform::sendMessage(Window::Main, Message::KeyDown, platform::VK_UP, 0);
        platform::sendMessage(Window::Main, Message::KeyDown, platform::VK_RIGHT, 0);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(desk->windowRect(Window::Main), main);
    EXPECT_EQ(window(Window::Main)->size(), QSize(900, 620));
}

TEST_F(DensityTest, ClicksArriveAtTheirLogicalClientPoint) {
    start();
    QWidget* main = window(Window::Main);
    // The middle of tile A, and the last pixel of the title strip's row.
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(95, 489));
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(899, 24));
    const auto downs = qt_testing::deliveredOf(Message::LButtonDown);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(platform::lParamToPoint(downs[0].lParam), (platform::Point{95, 489}));
    EXPECT_EQ(platform::lParamToPoint(downs[1].lParam), (platform::Point{899, 24}));
}

TEST_F(DensityTest, PicturesFacesAndBackgroundsComeFromTheTwinAboveRatioOne) {
    start();
    const bool twin = testRatio() > 1.0;
    struct Sample {
        const char* what;
        QImage shot;
        int bitmap;
        QRect part;   // of the bitmap, in its own pixels
    };
    QWidget* tile = control(ui::id::LetterTile(0));
    QWidget* newGame = control(ui::id::NewGameButton);
    QWidget* gallows = control(ui::id::GallowsStage1);
    desk->showControl(ui::id::GallowsStage1);
    // The title strip left of the three small buttons: bare background.
    const QRect strip(0, 0, 800, 25);
    // The add-puzzle window's lines of text, above its fields and buttons.
    const QRect card(30, 50, 500, 100);
    const Sample samples[] = {
        {"tile A", tile->grab().toImage(), 130, QRect(0, 0, 19, 20)},
        {"NewGameButton", newGame->grab().toImage(), 3450, QRect(0, 0, 102, 28)},
        {"GallowsStage1", gallows->grab().toImage(), 2250, QRect(0, 0, 81, 70)},
        {"main background", window(Window::Main)->grab(strip).toImage(), 48, strip},
        {"add-puzzle background", window(Window::AddPuzzle)->grab(card).toImage(), 100, card},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.what);
        ASSERT_FALSE(s.shot.isNull());
        // Device pixels: the logical size times the ratio.
        EXPECT_NEAR(s.shot.width(), s.part.width() * testRatio(), 1.0);
        EXPECT_NEAR(s.shot.height(), s.part.height() * testRatio(), 1.0);
        const QImage expected = region(s.bitmap, twin, s.part, s.shot.size());
        const QImage other = region(s.bitmap, !twin, s.part, s.shot.size());
        if (qt_testing::wholeRatio()) {
            EXPECT_EQ(s.shot.convertToFormat(QImage::Format_RGB32), expected) << "not pixel for pixel";
        }
        // At every ratio the right set is the nearer one by a margin.
        const double right = meanDifference(s.shot, expected);
        const double wrong = meanDifference(s.shot, other);
        EXPECT_LT(right * 1.5, wrong) << "nearer the " << (twin ? "bitmap" : "twin") << " than the "
                                      << (twin ? "twin" : "bitmap");
    }
}

TEST_F(DensityTest, TheBitmapForARatioIsTheTwinAboveOne) {
    using platform::qt::bitmapFor;
    const QPixmap& normal = bitmapFor(3450, 1.0);
    ASSERT_FALSE(normal.isNull());
    EXPECT_EQ(normal.devicePixelRatio(), 1.0);
    EXPECT_EQ(normal.size(), QSize(102, 28));
    for (qreal ratio : {1.25, 1.5, 2.0, 3.0}) {
        const QPixmap& dense = bitmapFor(3450, ratio);
        EXPECT_EQ(dense.devicePixelRatio(), 2.0) << ratio;
        EXPECT_EQ(dense.size(), QSize(204, 56)) << ratio;
        EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(102, 28)) << ratio;
    }
    // Wherever a bitmap has no twin, the bitmap itself serves.
    QPixmap plain(10, 10);
    plain.fill(Qt::red);
    platform::qt::replaceBitmap(3450, plain);
    EXPECT_EQ(bitmapFor(3450, 2.0).toImage(), plain.toImage());
    platform::qt::forgetBitmap(3450);
    EXPECT_EQ(bitmapFor(3450, 2.0).size(), QSize(204, 56));
    EXPECT_EQ(platform::qt::bitmapSize(3450), QSize(102, 28));
}

TEST_F(DensityTest, TextKeepsItsLogicalSizeSoALongPhraseTakesTheSameRoom) {
    start();
    QWidget* display = control(ui::id::PhraseDisplay);
    const QFont font = display->font();
    QImage plain(1000, 30, QImage::Format_RGB32);
    // A phrase as the display shows it, each letter after a space: 38
    // letters, or as many as the line holds at ratio 1.
    const QString pair = QStringLiteral(" W");
    const int fitting = static_cast<int>(846 / QFontMetricsF(font, &plain).horizontalAdvance(pair));
    const QString phrase = pair.repeated(std::min(38, fitting));
    // Measured on the widget at this ratio and on a plain image at 1.
    const double atRatio = QFontMetricsF(font, display).horizontalAdvance(phrase);
    const double atOne = QFontMetricsF(font, &plain).horizontalAdvance(phrase);
    EXPECT_NEAR(atRatio, atOne, 0.5);

    // Drawn: the last letter ends where it ends at ratio 1, to a pixel.
    desk->setText(ui::id::PhraseDisplay, phrase.toStdString());
    const QImage shown = window(Window::Main)->grab(display->geometry()).toImage();
    plain.fill(QColor(0xC0, 0xC0, 0xC0));
    {
        QPainter p(&plain);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 1000, 25), Qt::AlignLeft | Qt::AlignTop, phrase);
    }
    const double end = inkRight(shown);
    ASSERT_GT(end, 0) << "no text drawn";
    EXPECT_NEAR(end, inkRight(plain), 1.0);
    EXPECT_LT(end, 846.0);

    // The statistics and the edits scale their text with the ratio too.
    for (int id : {ui::id::PlayerOneTotalDisplay, ui::id::GuessEdit}) {
        QWidget* w = control(id);
        SCOPED_TRACE(w->objectName().toStdString());
        desk->setText(id, "12345");
        const QImage text = w->grab().toImage();
        int top = text.height(), bottom = -1;
        for (int y = 0; y < text.height(); ++y)
            for (int x = 0; x < text.width(); ++x)
                if (qGray(text.pixel(x, y)) < 100) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(bottom, top) << "no text drawn";
        // Digits of a 13-pixel font stand about 9 logical pixels tall.
        const double height = (bottom - top + 1) / testRatio();
        EXPECT_GE(height, 8.0);
        EXPECT_LE(height, 11.0);
    }
}

}  // namespace
