// The add-puzzle window: showing and hiding it, and storing new records.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Fixture.h"
#include "LibraryTestSupport.h"
#include "library/AddPuzzle.h"
#include "library/LibraryState.h"
#include "library/PuzzleRecord.h"

namespace {

using platform::Window;
using testing_support::ProgramTest;

class AddWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writeUnlockedConfig();
    }
    void add(const std::string& phrase, const std::string& hint) {
        desk.type(ui::id::PhraseEdit, phrase);
        desk.type(ui::id::HintEdit, hint);
        desk.pressButton(ui::id::AddButton);
    }
    std::string phraseField() { return desk.control(ui::id::PhraseEdit).text; }
    std::string hintField() { return desk.control(ui::id::HintEdit).text; }
    int& count() { return library::libraryState.addWindowToggleCount; }
};

TEST_F(AddWindowTest, AddPuzzlesTogglesAndCloseAddHides) {
    start();
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(desk.windowVisible(Window::AddPuzzle));
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(count(), 2);
    EXPECT_FALSE(desk.windowVisible(Window::AddPuzzle));

    desk.pressButton(ui::id::AddPuzzlesButton);
    desk.pressButton(ui::id::CloseAddButton);
    EXPECT_EQ(count(), 4);
    EXPECT_FALSE(desk.windowVisible(Window::AddPuzzle));
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(count(), 5);
    EXPECT_TRUE(desk.windowVisible(Window::AddPuzzle));
    EXPECT_EQ(desk.count("playWave 5600"), 5);
    EXPECT_EQ(desk.beeps(), 0);
    EXPECT_TRUE(desk.hasFocus(Window::Main));
}

TEST_F(AddWindowTest, ShowingPlaysThePanelCueThenFocusesTheMainWindow) {
    start();
    desk.pressButton(ui::id::AddPuzzlesButton);
    const auto& c = desk.calls();
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c[0], "playWave 5600");
    EXPECT_EQ(c[1], "showWindow AddPuzzleWindow");
    EXPECT_EQ(c[2], "setFocus MainWindow");
}

TEST_F(AddWindowTest, PanelCueIgnoresTheMute) {
    start();
    game::roundState.soundToggleCount = 1;
    desk.pressButton(ui::id::AddPuzzlesButton);
    desk.pressButton(ui::id::CloseAddButton);
    EXPECT_EQ(desk.count("playWave 5600"), 2);
}

TEST_F(AddWindowTest, LockedConsoleBeepsEveryTime) {
    write("KXC_CONFIG.INI", "Disable_Console= 1\nDisable_VCCntls= 0\n");
    start();
    desk.pressButton(ui::id::AddPuzzlesButton);
    desk.pressButton(ui::id::AddPuzzlesButton);
    EXPECT_EQ(desk.beeps(), 2);
    EXPECT_EQ(count(), 0);
    EXPECT_FALSE(desk.windowVisible(Window::AddPuzzle));
    EXPECT_TRUE(desk.wavesPlayed().empty());
}

TEST_F(AddWindowTest, TheExampleTable) {
    start();
    struct Row {
        std::string phrase, hint, appended;
        bool emptied;
        int beeps;
    };
    const Row rows[] = {
        {"Hello World", "A Greeting", "hello world;A Greeting:", true, 0},
        {"Hello World", "", "hello world;no hint available:", true, 0},
        {"Ab", "", "ab;no hint available:", true, 0},
        {"A", "anything", "", false, 0},
        {"", "x", "", false, 1},
        {"  ", "", "  ;no hint available:", true, 0},
        {"Q?", "x", "q?;x:", true, 0},
        {"MIXED Case 123 \xC4", "Keep CASE", "mixed case 123 \xC4;Keep CASE:", true, 0},
    };
    std::string expected;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.phrase + "|" + r.hint);
        desk.clearCalls();
        const int before = library::libraryState.recordCount;
        add(r.phrase, r.hint);
        expected += r.appended;
        EXPECT_EQ(read("KXData.dat"), expected);
        EXPECT_EQ(desk.beeps(), r.beeps);
        EXPECT_EQ(desk.count("playWave 4450"), 1);
        EXPECT_EQ(library::libraryState.recordCount, before + (r.appended.empty() ? 0 : 1));
        EXPECT_EQ(phraseField(), r.emptied ? "" : r.phrase);
        EXPECT_EQ(hintField(), r.emptied ? "" : r.hint);
    }
}

TEST_F(AddWindowTest, TwoAppendsFollowEachOtherWithoutASeparator) {
    write("KXData.dat", "Data purged...");
    start();
    add("one", "1");
    add("two", "22");
    EXPECT_EQ(read("KXData.dat"), "Data purged...one;1:two;22:");
    EXPECT_EQ(library::libraryState.recordCount, 2);
}

TEST_F(AddWindowTest, AddingWhileARecordIsOnShowStoresItAgainAndEndsTheViewing) {
    write("KXData.dat", "cat;animal:Dog Days;Summer:sun;star:");
    start();
    desk.pressButton(ui::id::ViewButton);
    desk.pressButton(ui::id::ViewButton);
    ASSERT_EQ(phraseField(), "Dog Days");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "cat;animal:Dog Days;Summer:sun;star:dog days;Summer:");
    const auto& v = library::puzzleViewer;
    EXPECT_EQ(v.step, 0);
    EXPECT_FALSE(v.stream.is_open());
    EXPECT_TRUE(v.keptRecords.empty());
    EXPECT_TRUE(v.currentPhrase.empty());
    EXPECT_TRUE(v.status.empty());
    // The next step starts again at the first record.
    desk.pressButton(ui::id::ViewButton);
    EXPECT_EQ(phraseField(), "cat");
    EXPECT_EQ(hintField(), "animal");
}

TEST_F(AddWindowTest, AnAddThatStoresNothingLeavesTheViewerAsItWas) {
    write("KXData.dat", "cat;animal:dog;pet:");
    start();
    desk.pressButton(ui::id::ViewButton);
    desk.type(ui::id::PhraseEdit, "c");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(library::puzzleViewer.step, 1);
    EXPECT_EQ(library::puzzleViewer.currentPhrase, "cat");
    desk.pressButton(ui::id::ViewButton);
    EXPECT_EQ(phraseField(), "dog");
}

TEST_F(AddWindowTest, AViewerTextInThePhraseFieldIsStoredLowerCased) {
    write("KXData.dat", "");
    start();
    desk.pressButton(ui::id::ViewButton);   // empty file: the reset text shows
    ASSERT_EQ(phraseField(), "Resetting Puzzle Viewer...");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "resetting puzzle viewer...;no hint available:");
}

TEST_F(AddWindowTest, TerminatorsInsideAFieldAreRefused) {
    write("KXData.dat", "cat;animal:");
    start();
    const std::pair<std::string, std::string> refused[] = {
        {"semi;colon", "hint"}, {"ok phrase", "semi;colon"}, {"ok phrase", "co:lon"}, {";;", ""}};
    for (const auto& [phrase, hint] : refused) {
        SCOPED_TRACE(phrase + "|" + hint);
        desk.clearCalls();
        add(phrase, hint);
        EXPECT_EQ(desk.beeps(), 1);
        EXPECT_EQ(read("KXData.dat"), "cat;animal:");
        EXPECT_EQ(library::libraryState.recordCount, 0);
        EXPECT_EQ(phraseField(), phrase);
        EXPECT_EQ(hintField(), hint);
    }
    // A colon inside a phrase is fine, and reads back whole.
    add("Ratio 3:1", "maths");
    EXPECT_EQ(read("KXData.dat"), "cat;animal:ratio 3:1;maths:");
    desk.pressButton(ui::id::ViewButton);
    desk.pressButton(ui::id::ViewButton);
    EXPECT_EQ(phraseField(), "ratio 3:1");
    EXPECT_EQ(hintField(), "maths");
}

TEST_F(AddWindowTest, AFailedAppendKeepsTheCountAndTheFields) {
    // The plain file's place is taken by a directory: nothing can be written.
    start();
    std::filesystem::create_directory(file("KXData.dat"));
    library::libraryState.recordCount = 4;
    add("Hello", "there");
    EXPECT_EQ(library::libraryState.recordCount, 4);
    EXPECT_EQ(phraseField(), "Hello");
    EXPECT_EQ(hintField(), "there");
    EXPECT_TRUE(std::filesystem::is_directory(file("KXData.dat")));
    EXPECT_FALSE(library::AppendPuzzleRecord("x;y:"));
    EXPECT_EQ(library::libraryState.recordCount, 4);
}

TEST_F(AddWindowTest, AnAppendThatDoesNotFitLeavesTheFileAsItWas) {
    write("KXData.dat", "cat;animal:");
    start();
    library::libraryState.recordCount = 1;
    {
        library_test::FileSizeLimit full(12);
        add("Hello World", "A Greeting");
    }
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
    EXPECT_EQ(library::libraryState.recordCount, 1);
    EXPECT_EQ(phraseField(), "Hello World");
    add("Hello World", "A Greeting");   // room again: the retry stores it
    EXPECT_EQ(read("KXData.dat"), "cat;animal:hello world;A Greeting:");
    EXPECT_EQ(library::libraryState.recordCount, 2);
}

TEST_F(AddWindowTest, AppendCreatesAMissingFileAndRaisesTheCount) {
    start();
    library::libraryState.recordCount = -3;
    EXPECT_TRUE(library::AppendPuzzleRecord("go;up:"));
    EXPECT_EQ(read("KXData.dat"), "go;up:");
    EXPECT_EQ(library::libraryState.recordCount, -2);
}

TEST(PuzzleRecord, BuildsTheStoredForm) {
    EXPECT_EQ(library::buildRecord("Hello World", "A Greeting"), "hello world;A Greeting:");
    EXPECT_EQ(library::buildRecord("Ab", ""), "ab;no hint available:");
    EXPECT_EQ(library::buildRecord("Ab", "x"), "ab;x:");
    EXPECT_EQ(library::lowerAscii("AZaz@[`{\xC0"), "azaz@[`{\xC0");
    EXPECT_TRUE(library::storableField("a:b", library::kPhraseForbidden));
    EXPECT_FALSE(library::storableField("a:b", library::kHintForbidden));
    EXPECT_FALSE(library::storableField("a;b", library::kPhraseForbidden));
}

}  // namespace
