// The windows and the 77 controls as start-up leaves them on the Qt desktop.
#include <QFontInfo>
#include <QFontMetricsF>

#include <cmath>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>

#include "QtFixture.h"
#include "platform/qt/Controls.h"
#include "platform/qt/Pixmaps.h"
#include "ui/Bitmaps.h"

namespace {

using platform::Window;
using qt_testing::QtProgramTest;

class LayoutTest : public QtProgramTest {};

TEST_F(LayoutTest, WindowsStandFramelessAtTheirTitlesPositionsAndSizes) {
    start();
    const platform::Size screen = desk->screenSize();
    for (const auto& row : ui::windowSpecs(screen.width, screen.height)) {
        SCOPED_TRACE(row.title);
        QWidget* w = window(row.window);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isWindow());
        EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(w->windowTitle(), QString::fromLatin1(row.title));
        EXPECT_EQ(w->geometry(), QRect(row.left, row.top, row.width, row.height));
        EXPECT_EQ(w->minimumSize(), w->maximumSize());   // fixed size
        EXPECT_EQ(desk->windowRect(row.window),
                  (platform::Rect{row.left, row.top, row.left + row.width, row.top + row.height}));
    }
    EXPECT_TRUE(window(Window::Main)->isVisible());
    EXPECT_FALSE(window(Window::AddPuzzle)->isVisible());
    EXPECT_FALSE(window(Window::Message)->isVisible());
    // The hidden windows get their native windows only when first shown.
    EXPECT_TRUE(window(Window::Main)->testAttribute(Qt::WA_WState_Created));
    EXPECT_FALSE(window(Window::AddPuzzle)->testAttribute(Qt::WA_WState_Created));
    EXPECT_FALSE(window(Window::Message)->testAttribute(Qt::WA_WState_Created));
    for (const auto& row : ui::windowSpecs(screen.width, screen.height)) {
        SCOPED_TRACE(row.title);
        desk->showWindow(row.window);
        QWidget* w = window(row.window);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->geometry(), QRect(row.left, row.top, row.width, row.height));
        // The add-puzzle and message windows belong to the main window.
        ASSERT_NE(w->windowHandle(), nullptr);
        EXPECT_EQ(w->windowHandle()->transientParent(),
                  row.owner ? window(*row.owner)->windowHandle() : nullptr);
        if (row.owner) desk->hideWindow(row.window);
    }
}

TEST_F(LayoutTest, EveryControlExistsInItsWindowAtItsRectangle) {
    start();
    int count = 0;
    for (const auto& row : ui::controlTable) {
        SCOPED_TRACE(row.name);
        QWidget* c = control(row.id);
        ASSERT_NE(c, nullptr);
        ++count;
        EXPECT_EQ(c->parentWidget(), window(row.parent));
        QSize size(row.width, row.height);
        if (row.kind == ui::ControlKind::Picture) {
            const auto* bmp = ui::findBitmap(row.bitmap);
            ASSERT_NE(bmp, nullptr);
            size = QSize(bmp->width, bmp->height);   // pictures take their bitmap's size
        }
        EXPECT_EQ(c->geometry(), QRect(QPoint(row.left, row.top), size));
        const platform::Rect win = desk->windowRect(row.parent);
        EXPECT_EQ(desk->controlRect(row.id),
                  (platform::Rect{win.left + row.left, win.top + row.top,
                                  win.left + row.left + size.width(), win.top + row.top + size.height()}));
    }
    EXPECT_EQ(count, 77);
}

TEST_F(LayoutTest, ControlsStayPlainWidgetsSoPicturesKeepTheirBitmapSize) {
    start();
    for (const auto& row : ui::controlTable) {
        EXPECT_FALSE(control(row.id)->testAttribute(Qt::WA_NativeWindow)) << row.name;
    }
    // A picture hidden before its bitmap came still takes the bitmap's size
    // once the windows are up.
    QCoreApplication::processEvents();
    desk->showControl(ui::id::WinPictureRight);
    QCoreApplication::processEvents();
    EXPECT_EQ(control(ui::id::WinPictureRight)->size(), QSize(53, 30));
}

TEST_F(LayoutTest, StartUpShowsTilesAndTextsAndHidesTheEndPictures) {
    start();
    for (int k = 0; k < 26; ++k) EXPECT_TRUE(control(ui::id::LetterTile(k))->isVisible()) << k;
    for (int id : ui::picturesHiddenAfterAssignment) EXPECT_FALSE(control(id)->isVisible()) << id;
    EXPECT_FALSE(control(ui::id::WinPictureLeft)->isVisible());
    EXPECT_FALSE(control(ui::id::FigureModeIndicator)->isVisible());
    EXPECT_TRUE(control(ui::id::GuessEdit)->isVisible());
    EXPECT_EQ(desk->text(ui::id::GuessLimitDisplay), "7");
    EXPECT_EQ(static_cast<QLabel*>(control(ui::id::GuessLimitDisplay))->text(), QStringLiteral("7"));
    EXPECT_EQ(desk->text(ui::id::PlayerOneTotalDisplay), "0");
}

TEST_F(LayoutTest, PicturesShowTheirBitmapAtItsOwnSize) {
    start();
    // WinPictureRight is nominally 53 x 23, its bitmap 53 x 30.
    EXPECT_EQ(control(ui::id::WinPictureRight)->size(), QSize(53, 30));
    // Tile A is nominally 18 wide, its bitmap 19.
    EXPECT_EQ(control(ui::id::LetterTile(0))->size(), QSize(19, 20));
    auto* tile = static_cast<platform::qt::Picture*>(control(ui::id::LetterTile(0)));
    EXPECT_EQ(tile->bitmapNumber(), ui::letterTileBitmap(0));
    const QPixmap& a = platform::qt::bitmap(ui::letterTileBitmap(0));
    ASSERT_FALSE(a.isNull()) << "bitmap 130 is missing from the resources";
    EXPECT_TRUE(qt_testing::showsPicture(tile->grab().toImage(), ui::letterTileBitmap(0)));
}

TEST_F(LayoutTest, PhraseFontIsBoldCourierNewOrItsMetricTwinWithA22PixelCell) {
    start();
    for (int id : {ui::id::PhraseDisplay, ui::id::PhraseUnderlay}) {
        const QFont font = control(id)->font();
        const QFontInfo info(font);
        EXPECT_TRUE(info.family() == QLatin1String("Liberation Mono") ||
                    info.family() == QLatin1String("Courier New"))
            << info.family().toStdString();
        EXPECT_TRUE(info.bold());
        EXPECT_TRUE(info.fixedPitch());
        // 22 pixels is the cell, ascent plus descent; the em is smaller.
        const QFontMetrics metrics(font);
        EXPECT_EQ(metrics.ascent() + metrics.descent(), 22) << "em " << info.pixelSize();
        EXPECT_LT(info.pixelSize(), 22);
        // A whole number of pixels a character, as on the classic desktop.
        const QFontMetricsF exact(font);
        EXPECT_EQ(exact.horizontalAdvance(QStringLiteral("MMMMMMMMMM")), 10 * std::round(exact.horizontalAdvance(QLatin1Char('M'))));
    }
    // The other texts are in a sans small enough for their 18-20 pixel rows.
    const QFontMetrics stats(control(ui::id::PlayerOneTotalDisplay)->font());
    EXPECT_LE(stats.height(), 18);
    const QFontMetrics hint(control(ui::id::HintDisplay)->font());
    EXPECT_LE(hint.height(), 20);
}

// The longest phrase the add window takes, 38 letters, shows as 76
// characters (each letter and a space); all of them fit the 846 pixels of
// the display and of its underlay.
TEST_F(LayoutTest, SeventySixPhraseCharactersFitThePhraseDisplay) {
    start();
    const std::string blanks = [] {
        std::string s;
        for (int i = 0; i < 38; ++i) s += "_ ";
        return s;
    }();
    const std::string letters = [] {
        std::string s;
        for (int i = 0; i < 38; ++i) s += std::string(1, static_cast<char>('M' + i % 13)) + " ";
        return s;
    }();
    ASSERT_EQ(blanks.size(), 76u);
    for (int id : {ui::id::PhraseDisplay, ui::id::PhraseUnderlay}) {
        QWidget* w = control(id);
        ASSERT_EQ(w->width(), 846);
        const QFontMetrics metrics(w->font());
        for (const std::string& text : {blanks, letters}) {
            const QString shown = QString::fromLatin1(text.c_str());
            EXPECT_LE(metrics.horizontalAdvance(shown), 846) << text;
            EXPECT_LE(metrics.boundingRect(shown).right(), 846) << text;
        }
        // And the label itself asks for no more than it has.
        desk->setText(id, letters);
        EXPECT_LE(static_cast<QLabel*>(w)->sizeHint().width(), 846);
    }
}

TEST(PhraseFont, TheCellIsTheLargestThatFits) {
    for (int cell : {11, 22, 44}) {
        SCOPED_TRACE(cell);
        QFont f(QStringLiteral("Liberation Mono"));
        f.setBold(true);
        const QFont fitted = platform::qt::withCellHeight(f, cell);
        EXPECT_LE(QFontMetrics(fitted).height(), cell);
        QFont larger = fitted;
        larger.setPixelSize(fitted.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(larger).height(), cell);
    }
}

TEST_F(LayoutTest, AHiddenPictureShowsItsBitmapOnceShown) {
    start();
    auto* loss = static_cast<platform::qt::Picture*>(control(ui::id::LossFigure));
    ASSERT_FALSE(loss->isVisible());
    EXPECT_EQ(loss->size(), QSize(280, 376)) << "the bitmap's size from the start";
    EXPECT_EQ(loss->bitmapNumber(), 0) << "a hidden picture is decoded only when it first shows";
    desk->showControl(ui::id::LossFigure);
    EXPECT_EQ(loss->bitmapNumber(), 6050);
    const QImage shown = window(Window::Main)->grab(loss->geometry()).toImage();
    EXPECT_TRUE(qt_testing::showsPicture(shown, 6050));
}

TEST_F(LayoutTest, FlightFramesShowInFrontOfTheLossFigures) {
    start();
    desk->showControl(ui::id::AltLossFigure);
    for (int frame : ui::id::FlightFrames) {
        desk->showControl(frame);
        const QImage shown = window(Window::Main)->grab(control(frame)->geometry()).toImage();
        EXPECT_TRUE(qt_testing::showsPicture(shown, ui::findControl(frame)->bitmap))
            << "flight frame " << frame << " is covered";
        desk->hideControl(frame);
    }
}

TEST_F(LayoutTest, PhraseDisplayLiesOverItsUnderlayWithoutHidingIt) {
    start();
    QWidget* display = control(ui::id::PhraseDisplay);
    QWidget* underlay = control(ui::id::PhraseUnderlay);
    const auto siblings = window(Window::Main)->children();
    // Later in the children list means drawn later, on top.
    EXPECT_GT(siblings.indexOf(display), siblings.indexOf(underlay));
    EXPECT_FALSE(display->autoFillBackground());
    EXPECT_TRUE(underlay->autoFillBackground());

    desk->setText(ui::id::PhraseUnderlay, "_ _ _");
    desk->setText(ui::id::PhraseDisplay, "A    ");
    const QImage shot = window(Window::Main)->grab(QRect(28, 38, 846, 25)).toImage();
    // The grey underlay shows through where the display has no letter; the
    // underscores below it are drawn in black. (The shot is in device pixels.)
    const double r = qt_testing::testRatio();
    bool sawBlackLow = false;
    for (int x = int(40 * r); x < int(80 * r); ++x) {
        for (int y = int(16 * r); y < shot.height(); ++y) sawBlackLow |= qGray(shot.pixel(x, y)) < 60;
    }
    EXPECT_TRUE(sawBlackLow);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 1, int(r))), QColor(0xC0, 0xC0, 0xC0));
}

TEST(TextStatic, MnemonicAmpersandsVanishAndDoubledOnesShowOnce) {
    using platform::qt::TextStatic;
    EXPECT_EQ(TextStatic::withoutMnemonics(QStringLiteral("&Play")), QStringLiteral("Play"));
    EXPECT_EQ(TextStatic::withoutMnemonics(QStringLiteral("R&&D")), QStringLiteral("R&D"));
    EXPECT_EQ(TextStatic::withoutMnemonics(QStringLiteral("a&&&b&")), QStringLiteral("a&b"));
}

TEST_F(LayoutTest, PrefixTextsHideTheMnemonicWhileNoPrefixTextsShowIt) {
    start();
    desk->setText(ui::id::PhraseUnderlay, "A&B");
    desk->setText(ui::id::PhraseDisplay, "A&B");
    EXPECT_EQ(static_cast<QLabel*>(control(ui::id::PhraseUnderlay))->text(), QStringLiteral("AB"));
    EXPECT_EQ(static_cast<QLabel*>(control(ui::id::PhraseDisplay))->text(), QStringLiteral("A&B"));
    // The program reads back what it wrote.
    EXPECT_EQ(desk->text(ui::id::PhraseUnderlay), "A&B");
    EXPECT_EQ(desk->textLength(ui::id::PhraseUnderlay), 3);
}

TEST_F(LayoutTest, CentredTextsWrapAndTextsAreBlackOnLightGrey) {
    start();
    auto* missed = static_cast<QLabel*>(control(ui::id::MissedLetters));
    EXPECT_TRUE(missed->wordWrap());
    EXPECT_TRUE(missed->alignment().testFlag(Qt::AlignHCenter));
    auto* total = static_cast<QLabel*>(control(ui::id::PlayerOneTotalDisplay));
    EXPECT_FALSE(total->wordWrap());
    EXPECT_TRUE(total->alignment().testFlag(Qt::AlignLeft));
    const QImage shot = total->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 1, shot.height() - 1)), QColor(0xC0, 0xC0, 0xC0));
    auto* edit = static_cast<QLineEdit*>(control(ui::id::GuessEdit));
    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(Qt::black));
}

}  // namespace
