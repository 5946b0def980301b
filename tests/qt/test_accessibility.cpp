// What the Qt desktop gives assistive technology: every control's interface
// with the role and name of the names table, the letter tiles' Press that
// clicks them, the underlay left out, the notices; and keyboard play's
// focus, keys and Return.
#include <QAbstractButton>
#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>

#include <fstream>

#include "QtFixture.h"
#include "app/KeyboardMode.h"
#include "ui/AccessibleNames.h"
#include "ui/Controls.h"

namespace {

using namespace qt_testing;
using platform::Message;
using platform::Window;
namespace id = ui::id;

class AccessibilityQtTest : public QtProgramTest {
protected:
    QAccessibleInterface* iface(QObject* o) { return QAccessible::queryAccessibleInterface(o); }
    std::vector<QString> childNames(Window w) {
        std::vector<QString> names;
        QAccessibleInterface* top = iface(window(w));
        for (int i = 0; i < top->childCount(); ++i) names.push_back(top->child(i)->text(QAccessible::Name));
        return names;
    }
};

TEST_F(AccessibilityQtTest, EveryControlHasTheRoleAndNameOfTheTable) {
    start(false);
    for (const ui::ControlSpec& c : ui::controlTable) {
        const ui::AccessibleRow* a = ui::findAccessible(c.id);
        QAccessibleInterface* i = iface(control(c.id));
        ASSERT_NE(i, nullptr) << c.name;
        QAccessible::Role role = QAccessible::StaticText;
        if (c.kind == ui::ControlKind::OwnerDrawButton || a->role == platform::AccessibleRole::Pressable)
            role = QAccessible::Button;
        else if (c.kind == ui::ControlKind::Picture)
            role = QAccessible::Graphic;
        else if (c.kind == ui::ControlKind::Edit)
            role = QAccessible::EditableText;
        EXPECT_EQ(i->role(), role) << c.name;
        if (a->role == platform::AccessibleRole::Hidden) continue;
        const QString name = i->text(QAccessible::Name);
        EXPECT_TRUE(name.startsWith(QString::fromLatin1(a->name))) << c.name << ": " << name.toStdString();
        EXPECT_EQ(i->text(QAccessible::Description).toStdString(), a->description) << c.name;
        if (role == QAccessible::Button) {
            EXPECT_TRUE(i->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction())) << c.name;
        }
    }
    EXPECT_EQ(iface(control(id::PlayerOneTotalDisplay))->text(QAccessible::Name), QStringLiteral("Player 1 score 0"));
    EXPECT_TRUE(iface(control(id::PlayerOneButton))->state().checked);
    EXPECT_FALSE(iface(control(id::PlayerTwoButton))->state().checked);
}

TEST_F(AccessibilityQtTest, TheUnderlayIsLeftOutAndTheWindowsCarryTheirWords) {
    start(false);
    const auto names = childNames(Window::Main);
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const QString& n) { return n.startsWith("Phrase"); }), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), QString()), 0);
    // Its background's words come first.
    EXPECT_EQ(names.front().toStdString(), ui::windowDescription(Window::Main));
    EXPECT_EQ(iface(window(Window::Message))->text(QAccessible::Description).toStdString(),
              ui::windowDescription(Window::Message));
    // Every child is found at its own index.
    QAccessibleInterface* top = iface(window(Window::Main));
    for (int i = 0; i < top->childCount(); ++i) EXPECT_EQ(top->indexOfChild(top->child(i)), i);
}

TEST_F(AccessibilityQtTest, ATilesPressClicksItsMiddleOnceTheCallIsAnswered) {
    start(true);
    QAccessibleInterface* tile = iface(control(id::LetterTile(19)));
    tile->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(deliveredOf(Message::LButtonDown).empty());   // not within the call
    QCoreApplication::processEvents();
    const auto downs = deliveredOf(Message::LButtonDown);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].window, Window::Main);
    const QPoint centre = control(id::LetterTile(19))->geometry().center();
    EXPECT_EQ(platform::lParamToPoint(downs[0].lParam), (platform::Point{centre.x(), centre.y()}));
    EXPECT_EQ(deliveredOf(Message::LButtonUp).size(), 1u);
    // A button's Press is its command.
    iface(control(id::NewGameButton))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    const auto commands = deliveredOf(Message::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<std::uintptr_t>(id::NewGameButton));
}

TEST_F(AccessibilityQtTest, AUsedTileIsUnavailableAndANoticeIsANewNotification) {
    start(false);
    platform::desktop().setAccessibleState(id::LetterTile(0), platform::AccessibleState::Unavailable, true);
    EXPECT_TRUE(iface(control(id::LetterTile(0)))->state().disabled);
    platform::desktop().setAccessibleState(id::LetterTile(0), platform::AccessibleState::Unavailable, false);
    EXPECT_FALSE(iface(control(id::LetterTile(0)))->state().disabled);

    const auto notifications = [&] {
        std::vector<QString> found;
        QAccessibleInterface* top = iface(window(Window::Main));
        for (int i = 0; i < top->childCount(); ++i) {
            if (top->child(i)->role() == QAccessible::Notification) found.push_back(top->child(i)->text(QAccessible::Name));
        }
        return found;
    };
    platform::desktop().announce("T: 2 found");
    EXPECT_EQ(notifications(), std::vector<QString>{QStringLiteral("T: 2 found")});
    platform::desktop().announce("Q: not in the phrase, 1 of 7");
    EXPECT_EQ(notifications(), std::vector<QString>{QStringLiteral("Q: not in the phrase, 1 of 7")});
}

TEST_F(AccessibilityQtTest, KeyboardPlayGivesTheFocusInOrderAndKeysToTheWindow) {
    std::ofstream(dir / "KXC_CONFIG.INI") << "Disable_Console= 0\nDisable_VCCntls= 0\nKeyboard_Play= 1\n";
    start(true);
    for (int controlId : ui::focusOrder) {
        const bool edit = qobject_cast<QLineEdit*>(control(controlId)) != nullptr;
        EXPECT_EQ(control(controlId)->focusPolicy(), edit ? Qt::StrongFocus : Qt::TabFocus) << controlId;
    }
    // Tab goes from each stop to the next of its window.
    const auto nextStop = [](QWidget* w) {
        do w = w->nextInFocusChain();
        while ((w->focusPolicy() & Qt::TabFocus) == 0);
        return w;
    };
    for (std::size_t k = 1; k < ui::focusOrder.size(); ++k) {
        QWidget* from = control(ui::focusOrder[k - 1]);
        QWidget* to = control(ui::focusOrder[k]);
        if (from->window() == to->window()) {
            EXPECT_EQ(nextStop(from), to) << ui::focusOrder[k - 1];
        }
    }

    // A focused button takes Return as a press and passes a letter on.
    QWidget* button = control(id::NewGameButton);
    QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &ret);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
    button->setFocus();
    QCoreApplication::sendEvent(button, &letter);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &left);
    const auto commands = deliveredOf(Message::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<std::uintptr_t>(id::NewGameButton));
    const auto keys = deliveredOf(Message::KeyDown);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].wParam, static_cast<std::uintptr_t>('T'));
    EXPECT_EQ(keys[1].wParam, static_cast<std::uintptr_t>(platform::VK_LEFT));

    // Return in the guess field presses Guess Phrase.
    auto* guess = static_cast<QLineEdit*>(control(id::GuessEdit));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(guess, &enter);
    const auto after = deliveredOf(Message::Command);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].wParam, static_cast<std::uintptr_t>(id::GuessPhraseButton));
}

TEST_F(AccessibilityQtTest, WithKeyboardPlayOffNothingButTheEditsTakesTheFocus) {
    start(true);
    EXPECT_EQ(control(id::NewGameButton)->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(control(id::GuessEdit)->focusPolicy(), Qt::ClickFocus);
    auto* guess = static_cast<QLineEdit*>(control(id::GuessEdit));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(guess, &enter);
    EXPECT_TRUE(deliveredOf(Message::Command).empty());
}

}  // namespace
