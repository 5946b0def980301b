// The in-memory desktop is strict: an operation on a window or control that
// was never created fails the test that caused it, naming the id, so a
// handler with a wrong control id cannot pass. Installed here for every
// logic test.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/memory/MemoryDesktop.h"

namespace {

void failTheTest(const std::string& what) { ADD_FAILURE() << what; }

const bool strictInEveryTest = (platform::MemoryDesktop::setFaultHandler(failTheTest), true);

std::vector<std::string>& faults() {
    static std::vector<std::string> seen;
    return seen;
}

void collect(const std::string& what) { faults().push_back(what); }

using platform::ControlDescription;
using platform::ControlKind;
using platform::MemoryDesktop;
using platform::Window;

class StrictMemoryDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(strictInEveryTest);
        faults().clear();
        MemoryDesktop::setFaultHandler(collect);
        platform::setWindowProc(nullptr);   // the Destroy messages go nowhere
    }
    void TearDown() override { MemoryDesktop::setFaultHandler(failTheTest); }

    void createMainWithButton() {
        desk.createWindow({Window::Main, "Main", "Main", 0, 0, 100, 100, 0, std::nullopt});
        ControlDescription button;
        button.id = 77;
        button.kind = ControlKind::OwnerDrawButton;
        desk.createControl(button);
        ControlDescription edit;
        edit.id = 78;
        edit.kind = ControlKind::Edit;
        desk.createControl(edit);
    }

    MemoryDesktop desk;
};

TEST_F(StrictMemoryDesktop, EveryControlOperationOnAControlNeverCreatedNamesItsId) {
    createMainWithButton();
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"showControl", [&] { desk.showControl(4242); }},
        {"hideControl", [&] { desk.hideControl(4242); }},
        {"setText", [&] { desk.setText(4242, "x"); }},
        {"text", [&] { (void)desk.text(4242); }},
        {"textLength", [&] { (void)desk.textLength(4242); }},
        {"controlRect", [&] { (void)desk.controlRect(4242); }},
        {"assignBitmap", [&] { desk.assignBitmap(4242); }},
        {"type", [&] { desk.type(4242, "x"); }},
        {"pressButton", [&] { desk.pressButton(4242); }},
    };
    for (const auto& [name, operation] : operations) {
        faults().clear();
        operation();
        ASSERT_EQ(faults().size(), 1u) << name;
        EXPECT_NE(faults()[0].find(name), std::string::npos) << faults()[0];
        EXPECT_NE(faults()[0].find("4242"), std::string::npos) << faults()[0];
    }
    // The same operations on the controls that exist are no fault.
    faults().clear();
    desk.showControl(77);
    desk.hideControl(77);
    desk.setText(77, "x");
    EXPECT_EQ(desk.text(77), "x");
    EXPECT_EQ(desk.textLength(77), 1);
    (void)desk.controlRect(77);
    desk.type(78, "typed");
    EXPECT_EQ(desk.text(78), "typed");
    EXPECT_TRUE(faults().empty()) << faults().front();
}

TEST_F(StrictMemoryDesktop, AControlOfTheWrongKindIsAFaultToo) {
    createMainWithButton();
    desk.assignBitmap(77);   // a button, not a picture
    desk.type(77, "x");      // not an edit field
    desk.pressButton(78);    // an edit field, not a button
    ASSERT_EQ(faults().size(), 3u);
    for (const auto& f : faults()) EXPECT_NE(f.find("not a"), std::string::npos) << f;
}

TEST_F(StrictMemoryDesktop, EveryWindowOperationOnAWindowNeverCreatedNamesIt) {
    createMainWithButton();
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"showWindow", [&] { desk.showWindow(Window::AddPuzzle); }},
        {"hideWindow", [&] { desk.hideWindow(Window::AddPuzzle); }},
        {"minimizeWindow", [&] { desk.minimizeWindow(Window::AddPuzzle); }},
        {"moveWindow", [&] { desk.moveWindow(Window::AddPuzzle, 1, 2, 3, 4); }},
        {"windowRect", [&] { (void)desk.windowRect(Window::AddPuzzle); }},
        {"setFocus", [&] { desk.setFocus(Window::AddPuzzle); }},
        {"destroyWindow", [&] { desk.destroyWindow(Window::AddPuzzle); }},
        {"clientToScreen", [&] { (void)desk.clientToScreen(Window::AddPuzzle, {1, 1}); }},
        {"startTimer", [&] { desk.startTimer(Window::AddPuzzle, 1, 10); }},
        {"stopTimer", [&] { desk.stopTimer(Window::AddPuzzle, 1); }},
        {"createControl", [&] {
             ControlDescription orphan;
             orphan.id = 5;
             orphan.parent = Window::AddPuzzle;
             desk.createControl(orphan);
         }},
    };
    for (const auto& [name, operation] : operations) {
        faults().clear();
        operation();
        ASSERT_EQ(faults().size(), 1u) << name;
        EXPECT_NE(faults()[0].find(name), std::string::npos) << faults()[0];
        EXPECT_NE(faults()[0].find(platform::windowName(Window::AddPuzzle)), std::string::npos) << faults()[0];
    }
    faults().clear();
    desk.showWindow(Window::Main);
    desk.startTimer(Window::Main, 1, 10);
    desk.stopTimer(Window::Main, 1);
    desk.destroyWindow(Window::Main);   // its owned windows were never made: no fault
    EXPECT_TRUE(faults().empty()) << faults().front();
}

}  // namespace
