// Mouse, keyboard and close requests turned into messages; the bitmap
// buttons' faces; the edit fields' limits.
#include <QAbstractButton>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPainter>

#include "QtFixture.h"
#include "platform/qt/Controls.h"
#include "platform/qt/Pixmaps.h"

namespace {

using platform::Message;
using platform::Window;
using qt_testing::deliveredOf;
using qt_testing::QtProgramTest;
using qt_testing::showsPicture;
using qt_testing::testRatio;

class InputTest : public QtProgramTest {};

QImage faceImage(int number) { return platform::qt::bitmap(number).toImage().convertToFormat(QImage::Format_RGB32); }

// Types characters QTest has no key for, as a keyboard layout would.
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

QImage shotOf(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST_F(InputTest, ButtonShowsThePressedFaceWhileHeldAndTheNormalFaceAfter) {
    start();
    auto* button = static_cast<QAbstractButton*>(control(ui::id::PlayerOneButton));
    ASSERT_NE(faceImage(2700), faceImage(2750)) << "the two faces should differ";

    EXPECT_TRUE(showsPicture(shotOf(button), 2700));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->isDown());
    EXPECT_TRUE(showsPicture(shotOf(button), 2750));
    EXPECT_FALSE(showsPicture(shotOf(button), 2700));
    EXPECT_TRUE(deliveredOf(Message::Command).empty());   // nothing until the release
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(showsPicture(shotOf(button), 2700));

    const auto commands = deliveredOf(Message::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].window, Window::Main);
    EXPECT_EQ(commands[0].wParam, static_cast<std::uintptr_t>(ui::id::PlayerOneButton));
    // A button press is the button's own: the window hears no click.
    EXPECT_TRUE(deliveredOf(Message::LButtonDown).empty());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
}

TEST_F(InputTest, ReleasingOutsideTheButtonSendsNoCommand) {
    start();
    auto* button = static_cast<QAbstractButton*>(control(ui::id::NewGameButton));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(button, QPoint(300, 300));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_TRUE(deliveredOf(Message::Command).empty());
}

TEST_F(InputTest, ButtonsOfTheOtherWindowsCommandTheirOwnWindow) {
    start();
    desk->showWindow(Window::AddPuzzle);
    desk->showWindow(Window::Message);
    QTest::mouseClick(control(ui::id::ViewButton), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(control(ui::id::MessageCloseButton), Qt::LeftButton, {}, QPoint(5, 5));
    const auto commands = deliveredOf(Message::Command);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].window, Window::AddPuzzle);
    EXPECT_EQ(commands[0].wParam, static_cast<std::uintptr_t>(ui::id::ViewButton));
    EXPECT_EQ(commands[1].window, Window::Message);
    EXPECT_EQ(commands[1].wParam, static_cast<std::uintptr_t>(ui::id::MessageCloseButton));
}

TEST_F(InputTest, AddButtonShowsItsWholeWiderFaceScaledToItsWidth) {
    // A 115-pixel face whose last column alone is red: scaled onto the
    // 114-pixel button, the red column must still show at its right edge.
    QPixmap face(115, 29);
    face.fill(Qt::white);
    {
        QPainter p(&face);
        p.fillRect(114, 0, 1, 29, Qt::red);
        p.fillRect(0, 0, 1, 29, Qt::blue);
    }
    platform::qt::replaceBitmap(5400, face);
    start();
    QWidget* button = control(ui::id::AddButton);
    ASSERT_EQ(button->size(), QSize(114, 29));
    // In device pixels: at another ratio the face is scaled smoothly, so
    // the edge columns are nearly, not exactly, pure.
    const QImage shot = shotOf(button);
    const int tolerance = testRatio() == 1.0 ? 0 : 60;
    auto near = [tolerance](QRgb p, QColor c) {
        return std::abs(qRed(p) - c.red()) <= tolerance && std::abs(qGreen(p) - c.green()) <= tolerance &&
               std::abs(qBlue(p) - c.blue()) <= tolerance;
    };
    for (int y = 0; y < shot.height(); ++y) {
        EXPECT_TRUE(near(shot.pixel(shot.width() - 1, y), Qt::red)) << y;
        EXPECT_TRUE(near(shot.pixel(0, y), Qt::blue)) << y;
    }
    platform::qt::forgetBitmap(5400);
}

TEST_F(InputTest, ClicksOnTilesPicturesAndTextsReachTheWindowAtTheClientPoint) {
    start();
    QWidget* main = window(Window::Main);
    // Middle of tile B (125, 479, 16 x 20), then a point on the hint text.
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(133, 489));
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(700, 525));
    const auto downs = deliveredOf(Message::LButtonDown);
    const auto ups = deliveredOf(Message::LButtonUp);
    ASSERT_EQ(downs.size(), 2u);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(platform::lParamToPoint(downs[0].lParam), (platform::Point{133, 489}));
    EXPECT_EQ(platform::lParamToPoint(ups[0].lParam), (platform::Point{133, 489}));
    EXPECT_EQ(platform::lParamToPoint(downs[1].lParam), (platform::Point{700, 525}));
    EXPECT_EQ(downs[0].window, Window::Main);
    EXPECT_EQ(main->childAt(133, 489), nullptr);   // the tile lets the click through
    EXPECT_TRUE(control(ui::id::LetterTile(1))->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(control(ui::id::HintDisplay)->testAttribute(Qt::WA_TransparentForMouseEvents));
    // A right click is not a left click.
    QTest::mouseClick(main, Qt::RightButton, {}, QPoint(133, 489));
    EXPECT_EQ(deliveredOf(Message::LButtonDown).size(), 2u);
}

TEST_F(InputTest, DoubleClickGivesTwoButtonDownsAndTwoUps) {
    start();
    QWidget* main = window(Window::Main);
    // What Qt delivers for a double click.
    const QPointF at(200, 300);
    const QPointF global = main->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(main, &e);
    }
    EXPECT_EQ(deliveredOf(Message::LButtonDown).size(), 2u);
    EXPECT_EQ(deliveredOf(Message::LButtonUp).size(), 2u);
}

TEST_F(InputTest, KeysReachTheProgramOnlyWhileTheWindowItselfHasTheFocus) {
    start();
    QWidget* main = window(Window::Main);
    desk->setFocus(Window::Main);
    QTest::keyClick(main, Qt::Key_Left);
    QTest::keyClick(main, Qt::Key_Down);
    QTest::keyClick(main, Qt::Key_A);
    auto keys = deliveredOf(Message::KeyDown);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].wParam, static_cast<std::uintptr_t>(platform::VK_LEFT));
    EXPECT_EQ(keys[1].wParam, static_cast<std::uintptr_t>(platform::VK_DOWN));
    EXPECT_EQ(keys[2].wParam, 0x41u);

    // While the guess field has the focus, keys are the field's.
    QWidget* edit = control(ui::id::GuessEdit);
    edit->setFocus();
    ASSERT_EQ(main->focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(deliveredOf(Message::KeyDown).size(), 3u);

    // setFocus gives the window itself the focus back.
    desk->setFocus(Window::Main);
    EXPECT_EQ(main->focusWidget(), main);
    QTest::keyClick(main, Qt::Key_Up);
    keys = deliveredOf(Message::KeyDown);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[3].wParam, static_cast<std::uintptr_t>(platform::VK_UP));
}

TEST_F(InputTest, TheShownMainWindowHasTheFocusItselfSoArrowsWorkAtOnce) {
    start();
    QWidget* main = window(Window::Main);
    EXPECT_EQ(main->focusWidget(), main);
    QTest::keyClick(main, Qt::Key_Right);
    ASSERT_EQ(deliveredOf(Message::KeyDown).size(), 1u);
    // Edits take the focus by a click, not by Tab.
    EXPECT_EQ(control(ui::id::GuessEdit)->focusPolicy(), Qt::ClickFocus);
    QTest::keyClick(main, Qt::Key_Tab);
    EXPECT_EQ(main->focusWidget(), main);
}

TEST_F(InputTest, AltKeysAreNoKeyPressesAndAltF4AsksToClose) {
    start();
    QWidget* main = window(Window::Main);
    desk->setFocus(Window::Main);
    QTest::keyClick(main, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(deliveredOf(Message::KeyDown).empty());
    QTest::keyClick(main, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(deliveredOf(Message::Close).size(), 1u);
}

TEST_F(InputTest, CloseRequestsAreRefusedAndPassedToTheProgram) {
    start();
    desk->showWindow(Window::AddPuzzle);
    for (Window w : {Window::AddPuzzle, Window::Main}) {
        EXPECT_FALSE(window(w)->close());
        EXPECT_TRUE(window(w)->isVisible());
    }
    const auto closes = deliveredOf(Message::Close);
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_EQ(closes[0].window, Window::AddPuzzle);
    EXPECT_EQ(closes[1].window, Window::Main);
}

TEST_F(InputTest, EditLimitsStopTypingAt38And34Characters) {
    start();
    desk->showWindow(Window::AddPuzzle);
    auto* phrase = static_cast<QLineEdit*>(control(ui::id::PhraseEdit));
    auto* hint = static_cast<QLineEdit*>(control(ui::id::HintEdit));
    QTest::keyClicks(phrase, QString(50, u'i'));
    QTest::keyClicks(hint, QString(50, u'i'));
    EXPECT_EQ(desk->textLength(ui::id::PhraseEdit), 38);
    EXPECT_EQ(desk->textLength(ui::id::HintEdit), 34);
    // Deleting makes room again.
    QTest::keyClick(phrase, Qt::Key_Backspace);
    QTest::keyClicks(phrase, QStringLiteral("ll"));
    EXPECT_EQ(desk->text(ui::id::PhraseEdit), std::string(37, 'i') + "l");
}

TEST_F(InputTest, ProgramSetTextsAreKeptWholePastTheLimit) {
    start();
    const std::string status(45, 'x');
    desk->setText(ui::id::PhraseEdit, status);
    EXPECT_EQ(desk->text(ui::id::PhraseEdit), status);
    // Typing cannot lengthen it further, but deleting works.
    auto* phrase = static_cast<QLineEdit*>(control(ui::id::PhraseEdit));
    phrase->setCursorPosition(45);
    QTest::keyClicks(phrase, QStringLiteral("y"));
    EXPECT_EQ(desk->textLength(ui::id::PhraseEdit), 45);
    QTest::keyClick(phrase, Qt::Key_Backspace);
    EXPECT_EQ(desk->textLength(ui::id::PhraseEdit), 44);
}

TEST_F(InputTest, GuessFieldStopsTypingAtItsVisibleWidth) {
    start();
    auto* guess = static_cast<platform::qt::FittedEdit*>(control(ui::id::GuessEdit));
    QTest::keyClicks(guess, QString(200, u'W'));
    const QString typed = guess->text();
    EXPECT_GT(typed.size(), 10);
    EXPECT_LT(typed.size(), 200);
    EXPECT_TRUE(guess->fits(typed));
    EXPECT_FALSE(guess->fits(typed + u'W'));

    // A paste that would not fit is cut to what fits; once full, a paste adds nothing.
    guess->clear();
    QTest::keyClicks(guess, QStringLiteral("AB"));
    QGuiApplication::clipboard()->setText(QStringLiteral("CD"));
    guess->paste();
    EXPECT_EQ(guess->text(), QStringLiteral("ABCD"));
    QGuiApplication::clipboard()->setText(QString(100, u'M'));
    guess->paste();
    const QString full = guess->text();
    EXPECT_TRUE(full.startsWith(QStringLiteral("ABCDM")));
    EXPECT_TRUE(guess->fits(full));
    EXPECT_FALSE(guess->fits(full + u'M'));
    guess->paste();
    EXPECT_EQ(guess->text(), full);
}

TEST_F(InputTest, TextsCrossAsSingleBytesOfLatin1) {
    start();
    const std::string accented = "CAF\xC9 \xE0 l'\xE9t\xE9";
    desk->setText(ui::id::HintDisplay, accented);
    EXPECT_EQ(desk->text(ui::id::HintDisplay), accented);
    EXPECT_EQ(static_cast<QLabel*>(control(ui::id::HintDisplay))->text(),
              QString::fromUtf8("CAF\u00C9 \u00E0 l'\u00E9t\u00E9"));
    desk->setText(ui::id::GuessEdit, accented);
    EXPECT_EQ(desk->text(ui::id::GuessEdit), accented);
    EXPECT_EQ(desk->textLength(ui::id::GuessEdit), 12);

    auto* guess = static_cast<QLineEdit*>(control(ui::id::GuessEdit));
    guess->clear();
    typeText(guess, QString::fromUtf8("\u00E9t\u00E9"));
    EXPECT_EQ(desk->text(ui::id::GuessEdit), "\xE9t\xE9");
    EXPECT_EQ(desk->textLength(ui::id::GuessEdit), 3);
    // Characters beyond ISO-8859-1 are refused.
    typeText(guess, QString::fromUtf8("\u20AC\u0151"));
    EXPECT_EQ(desk->text(ui::id::GuessEdit), "\xE9t\xE9");
}

}  // namespace
