// What the edits make of pastes and characters outside the 8-bit set: the
// pure rule, then the real fields of the add-puzzle window.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

#include "QtFixture.h"
#include "platform/qt/Controls.h"
#include "platform/qt/EditInput.h"

namespace {

using platform::qt::EditVerdict;
using platform::qt::shapeEditInput;

struct Shaped {
    EditVerdict verdict;
    QString text;
    int cursor;
};

Shaped shape(const QString& before, const QString& input, int cursor, int limit = 38,
             std::function<bool(const QString&)> fits = {}) {
    QString t = input;
    int c = cursor;
    const EditVerdict v = shapeEditInput(before, t, c, limit, fits);
    return {v, t, c};
}

TEST(EditInputRule, APasteKeepsItsFirstLineAndNoControlCharacters) {
    auto r = shape("ab", QStringLiteral("aone\ntwo\r\nthreeb"), 15);
    EXPECT_EQ(r.verdict, EditVerdict::Accept);
    EXPECT_EQ(r.text, QStringLiteral("aoneb"));
    EXPECT_EQ(r.cursor, 4);
    r = shape("", QStringLiteral("x\ty\rz"), 5);
    EXPECT_EQ(r.text, QStringLiteral("xy"));
    // A paste that starts with its line end adds nothing.
    EXPECT_EQ(shape("ab", QStringLiteral("ab\nmore"), 7).verdict, EditVerdict::Refuse);
}

TEST(EditInputRule, TheInsertedPartIsCutToTheLimitAroundTheKeptText) {
    const QString before(30, u'a');
    auto r = shape(before, before.left(10) + QString(20, u'Z') + before.mid(10), 30);
    EXPECT_EQ(r.verdict, EditVerdict::Accept);
    EXPECT_EQ(r.text, before.left(10) + QString(8, u'Z') + before.mid(10));
    EXPECT_EQ(r.cursor, 18);
    // A full field takes nothing more, silently.
    EXPECT_EQ(shape(QString(38, u'a'), QString(39, u'a'), 39).verdict, EditVerdict::Refuse);
    // A text a program set beyond the limit may be replaced by no more than its length.
    EXPECT_EQ(shape(QString(50, u'x'), QString(49, u'x') + u'y', 50).verdict, EditVerdict::Accept);
}

TEST(EditInputRule, ACharacterOutsideTheEightBitSetIsRefusedWithABeep) {
    EXPECT_EQ(shape("ab", QStringLiteral("ab\u20AC"), 3).verdict, EditVerdict::RefuseWithBeep);
    EXPECT_EQ(shape("", QStringLiteral("ok \u4E2D"), 4).verdict, EditVerdict::RefuseWithBeep);
    // Latin-1 letters and deletions pass untouched.
    auto r = shape("caf", QStringLiteral("caf\u00E9"), 4);
    EXPECT_EQ(r.verdict, EditVerdict::Accept);
    EXPECT_EQ(r.text, QStringLiteral("caf\u00E9"));
    EXPECT_EQ(shape("abc", "ac", 1).verdict, EditVerdict::Accept);
}

TEST(EditInputRule, TypingBeforeEqualLettersKeepsTheCaretWhereItWas) {
    auto r = shape("aa", "aaa", 1);
    EXPECT_EQ(r.verdict, EditVerdict::Accept);
    EXPECT_EQ(r.text, QStringLiteral("aaa"));
    EXPECT_EQ(r.cursor, 1);
}

TEST(EditInputRule, AWidthLimitCutsTheInsertedPartToWhatFits) {
    const auto fitsSix = [](const QString& t) { return t.size() <= 6; };
    auto r = shape("ab", QStringLiteral("abcdefghij"), 10, 38, fitsSix);
    EXPECT_EQ(r.text, QStringLiteral("abcdef"));
    EXPECT_EQ(r.cursor, 6);
}

class EditPasteTest : public qt_testing::QtProgramTest {};

TEST_F(EditPasteTest, TheAddFieldsTakeOnlyTheFirstLineAndNoMoreThanTheirLimits) {
    start();
    auto* phrase = static_cast<platform::qt::FittedEdit*>(control(ui::id::PhraseEdit));
    auto* hint = static_cast<platform::qt::FittedEdit*>(control(ui::id::HintEdit));
    QGuiApplication::clipboard()->setText(QStringLiteral("first line\nsecond line\n"));
    phrase->paste();
    EXPECT_EQ(desk->text(ui::id::PhraseEdit), "first line");
    QGuiApplication::clipboard()->setText(QString(80, u'i'));
    hint->paste();
    EXPECT_EQ(desk->text(ui::id::HintEdit), std::string(34, 'i'));
    // A character the 8-bit set cannot hold: refused, the field as it was.
    QGuiApplication::clipboard()->setText(QStringLiteral("\u20AC"));
    phrase->paste();
    EXPECT_EQ(desk->text(ui::id::PhraseEdit), "first line");
}

TEST_F(EditPasteTest, AStaticShowsAtMostTheStartOfAHugeTextAndKeepsItWhole) {
    start();
    const std::string huge(5'000'000, 'h');
    desk->setText(ui::id::HintDisplay, huge);
    auto* label = static_cast<QLabel*>(control(ui::id::HintDisplay));
    EXPECT_EQ(label->text().size(), 4096);
    EXPECT_EQ(desk->text(ui::id::HintDisplay), huge);
}

}  // namespace
