// The Qt desktop builds a control from its description alone: the picture
// and its size, the faces, the text limit, a transparent background and the
// control that stays above it, whatever ids they have.
#include <QLabel>
#include <QLineEdit>

#include "QtFixture.h"
#include "platform/qt/Controls.h"

namespace {

using platform::ControlDescription;
using platform::ControlKind;
using platform::Window;
using qt_testing::QtProgramTest;

class ControlDescriptionTest : public QtProgramTest {
protected:
    void SetUp() override {
        QtProgramTest::SetUp();
        desk->createWindow({Window::Main, "Test_Class", "Test window", 10, 10, 400, 300, 48, std::nullopt});
    }
    static ControlDescription described(int id, ControlKind kind) {
        ControlDescription d;
        d.id = id;
        d.name = "Described";
        d.kind = kind;
        d.left = 20;
        d.top = 30;
        d.width = 50;
        d.height = 40;
        return d;
    }
};

TEST_F(ControlDescriptionTest, APictureShowsTheBitmapItWasDescribedWithAtItsSize) {
    ControlDescription d = described(901, ControlKind::Picture);
    d.bitmap = 3750;
    d.bitmapSize = {84, 67};
    desk->createControl(d);
    desk->assignBitmap(901);
    auto* picture = qobject_cast<platform::qt::Picture*>(control(901));
    ASSERT_NE(picture, nullptr);
    desk->showWindow(Window::Main);
    QCoreApplication::processEvents();
    EXPECT_EQ(picture->bitmapNumber(), 3750);
    EXPECT_EQ(picture->size(), QSize(84, 67));
    EXPECT_EQ(picture->pos(), QPoint(20, 30));
}

TEST_F(ControlDescriptionTest, AHiddenPictureTakesItsSizeAtOnceAndItsBitmapWhenShown) {
    ControlDescription d = described(902, ControlKind::Picture);
    d.bitmap = 6050;
    d.bitmapSize = {280, 376};
    desk->createControl(d);
    desk->hideControl(902);
    desk->assignBitmap(902);
    auto* picture = qobject_cast<platform::qt::Picture*>(control(902));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), QSize(280, 376));
    EXPECT_EQ(picture->bitmapNumber(), 0) << "decoded before it was shown";
    desk->showWindow(Window::Main);
    desk->showControl(902);
    QCoreApplication::processEvents();
    EXPECT_EQ(picture->bitmapNumber(), 6050);
}

TEST_F(ControlDescriptionTest, ATransparentTextLiesUnderNothingAndItsUnderlayStaysBelowIt) {
    ControlDescription over = described(903, ControlKind::TextNoPrefix);
    over.transparent = true;
    desk->createControl(over);
    ControlDescription under = described(904, ControlKind::TextPrefix);
    under.stackUnder = 903;
    desk->createControl(under);
    ControlDescription plain = described(905, ControlKind::TextNoPrefix);
    desk->createControl(plain);
    EXPECT_FALSE(control(903)->autoFillBackground()) << "the transparent text fills its background";
    EXPECT_TRUE(control(905)->autoFillBackground());
    const QObjectList& order = window(Window::Main)->children();
    EXPECT_LT(order.indexOf(control(904)), order.indexOf(control(903)))
        << "the underlay, made later, stands above the text it was described to stay under";
    EXPECT_LT(order.indexOf(control(903)), order.indexOf(control(905))) << "an ordinary later control stands above";
}

TEST_F(ControlDescriptionTest, AnEditKeepsItsDescribedLimitAndAButtonItsFaces) {
    ControlDescription edit = described(906, ControlKind::Edit);
    edit.textLimit = 12;
    desk->createControl(edit);
    ControlDescription button = described(907, ControlKind::OwnerDrawButton);
    button.normalFace = 3450;
    button.pressedFace = 3500;
    desk->createControl(button);
    auto* field = qobject_cast<platform::qt::FittedEdit*>(control(906));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->textLimit(), 12);
    auto* face = qobject_cast<platform::qt::FaceButton*>(control(907));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->normalFace(), 3450);
    EXPECT_EQ(face->pressedFace(), 3500);
    EXPECT_EQ(face->objectName(), QStringLiteral("Described"));
}

}  // namespace
