// The puzzle viewer: stepping through the stored records, deleting the one
// on show, and the ends of a pass.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "Fixture.h"
#include "LibraryTestSupport.h"
#include "library/LibraryState.h"
#include "library/PuzzleViewer.h"

namespace {

using testing_support::ProgramTest;

const char* const kReset = "Resetting Puzzle Viewer...";

class ViewerTest : public ProgramTest {
protected:
    void startWith(const std::string& puzzles) {
        std::filesystem::remove(file("OnLoad.dat"));   // the plain file alone is the library
        write("KXData.dat", puzzles);
        writeUnlockedConfig();
        start();
    }
    void view() { desk.pressButton(ui::id::ViewButton); }
    void del() { desk.pressButton(ui::id::DeleteButton); }
    std::string phraseField() { return desk.control(ui::id::PhraseEdit).text; }
    std::string hintField() { return desk.control(ui::id::HintEdit).text; }
    library::PuzzleViewer& v() { return library::puzzleViewer; }

    // Fields, step and kept records after a press.
    void expectState(const std::string& phrase, const std::string& hint, int step,
                     const std::string& kept) {
        EXPECT_EQ(phraseField(), phrase);
        EXPECT_EQ(hintField(), hint);
        EXPECT_EQ(v().step, step);
        EXPECT_EQ(v().keptRecords, kept);
    }
};

TEST_F(ViewerTest, TheWorkedExamplePressByPress) {
    const std::string file = "cat;animal:dog;pet:sun;star:";
    startWith(file);
    library::libraryState.recordCount = 5;

    view();
    expectState("cat", "animal", 1, "");
    EXPECT_EQ(desk.count("playWave 4450"), 1);
    view();
    expectState("dog", "pet", 2, "cat;animal:");
    EXPECT_EQ(read("KXData.dat"), file);

    desk.clearCalls();
    del();
    expectState("", "", 0, "");
    EXPECT_EQ(read("KXData.dat"), "cat;animal:sun;star:");
    EXPECT_EQ(library::libraryState.recordCount, 4);
    EXPECT_EQ(v().status, kReset);
    EXPECT_EQ(desk.count("playWave 4450"), 1);
    EXPECT_EQ(desk.beeps(), 0);

    desk.clearCalls();
    view();
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(desk.count("playWave 4450"), 0);
    EXPECT_EQ(phraseField(), kReset);
    EXPECT_TRUE(v().status.empty());
    EXPECT_EQ(v().step, 0);

    view();
    expectState("cat", "animal", 1, "");
    view();
    expectState("sun", "star", 2, "cat;animal:");
    desk.clearCalls();
    view();
    expectState(kReset, "", 0, "");
    EXPECT_EQ(desk.beeps(), 0);
    EXPECT_TRUE(v().status.empty());
    EXPECT_FALSE(v().stream.is_open());
    // The fields were set to the emptied record before the status went in.
    EXPECT_EQ(desk.callsStartingWith("setText 5300"),
              (std::vector<std::string>{"setText 5300 ", std::string("setText 5300 ") + kReset}));
    view();
    expectState("cat", "animal", 1, "");
    EXPECT_EQ(read("KXData.dat"), "cat;animal:sun;star:");
    EXPECT_EQ(library::libraryState.recordCount, 4);
}

TEST_F(ViewerTest, DeletingTheFirstRecordKeepsAllOthersInOrder) {
    startWith("cat;animal:dog;pet:sun;star:");
    view();
    del();
    EXPECT_EQ(read("KXData.dat"), "dog;pet:sun;star:");
    EXPECT_EQ(library::libraryState.recordCount, -1);
}

TEST_F(ViewerTest, DeletingTheLastRecordKeepsAllBeforeIt) {
    startWith("cat;animal:dog;pet:sun;star:");
    view();
    view();
    view();
    ASSERT_EQ(phraseField(), "sun");
    del();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:dog;pet:");
}

TEST_F(ViewerTest, ANewPassAfterTheEndDeletesExactlyOneRecord) {
    startWith("cat;animal:dog;pet:sun;star:");
    for (int i = 0; i < 4; ++i) view();   // three records, then the end
    ASSERT_EQ(phraseField(), kReset);
    view();
    view();
    ASSERT_EQ(phraseField(), "dog");
    del();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:sun;star:");
}

TEST_F(ViewerTest, AnEmptyOrMissingFileShowsOnlyTheReset) {
    for (bool missing : {false, true}) {
        SCOPED_TRACE(missing ? "missing" : "empty");
        testing_support::resetProgramState();
        std::filesystem::remove(file("KXData.dat"));
        if (missing) {
            writeUnlockedConfig();
            start();
        } else {
            startWith("");
        }
        for (int i = 0; i < 3; ++i) {
            desk.clearCalls();
            view();
            EXPECT_EQ(phraseField(), kReset);
            EXPECT_EQ(hintField(), "");
            EXPECT_EQ(v().step, 0);
            EXPECT_EQ(desk.beeps(), 0);
        }
        EXPECT_EQ(exists("KXData.dat"), !missing);
    }
}

TEST_F(ViewerTest, DeleteWithNothingOnShowBeeps) {
    startWith("cat;animal:");
    del();
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
}

TEST_F(ViewerTest, ATwoCharacterPhraseIsViewableButNotDeletable) {
    startWith("ox;animal:cat;pet:");
    view();
    EXPECT_EQ(phraseField(), "ox");
    del();
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(read("KXData.dat"), "ox;animal:cat;pet:");
    view();
    EXPECT_EQ(phraseField(), "cat");
}

TEST_F(ViewerTest, AOneCharacterPhraseEndsThePass) {
    startWith("cat;animal:x;y:dog;pet:");
    view();
    view();
    EXPECT_EQ(phraseField(), kReset);
    EXPECT_EQ(v().step, 0);
}

TEST_F(ViewerTest, AfterADeleteAnAppendStillLeavesTheStatusPending) {
    startWith("cat;animal:dog;pet:");
    view();
    del();
    desk.type(ui::id::PhraseEdit, "new one");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "dog;pet:new one;no hint available:");
    desk.clearCalls();
    view();
    EXPECT_EQ(desk.beeps(), 1);
    EXPECT_EQ(phraseField(), kReset);
    view();
    EXPECT_EQ(phraseField(), "dog");
}

TEST_F(ViewerTest, NewGameAbortsAPassWithALongHintOnShow) {
    startWith("cat;animal:dog;pet:sun;star:");
    view();
    view();
    library::AbortPuzzleViewing();
    // "pet" has three characters: the pass is aborted.
    EXPECT_EQ(phraseField(), "Puzzle viewing aborted...");
    EXPECT_EQ(hintField(), "");
    EXPECT_EQ(v().step, 0);
    EXPECT_FALSE(v().stream.is_open());
    EXPECT_TRUE(v().keptRecords.empty());
    view();
    EXPECT_EQ(phraseField(), "cat");
}

TEST_F(ViewerTest, NewGameLeavesAPassWithAShortHintOnShow) {
    startWith("ab;x:cat;animal:");
    view();
    ASSERT_EQ(hintField(), "x");
    library::AbortPuzzleViewing();
    EXPECT_EQ(phraseField(), "ab");
    EXPECT_EQ(v().step, 1);
    view();
    EXPECT_EQ(phraseField(), "cat");
    EXPECT_EQ(hintField(), "animal");
}

TEST_F(ViewerTest, NewGameButtonRunsTheAbort) {
    startWith("cat;animal:dog;pet:sun;star:mud;earth:bee;insect:");
    view();
    desk.pressButton(ui::id::NewGameButton);
    EXPECT_EQ(v().step, 0);
    EXPECT_EQ(phraseField(), "Puzzle viewing aborted...");
    EXPECT_EQ(hintField(), "");
}

TEST_F(ViewerTest, TheAbortLeavesAPendingStatus) {
    startWith("cat;animal:dog;pet:");
    view();
    del();
    library::AbortPuzzleViewing();   // nothing on show: nothing happens
    EXPECT_EQ(v().status, kReset);
}

TEST_F(ViewerTest, LockedViewerButtonsBeepWhateverTheState) {
    write("KXData.dat", "cat;animal:dog;pet:");
    write("KXC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 1\n");
    start();
    view();
    del();
    v().currentPhrase = "cat";   // as if a record were on show
    del();
    EXPECT_EQ(desk.beeps(), 3);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    EXPECT_EQ(read("KXData.dat"), "cat;animal:dog;pet:");
}

TEST_F(ViewerTest, ACutLastRecordIsShownAndDeletable) {
    // No closing ':' on the last record.
    startWith("cat;animal:dog;pe");
    view();
    view();
    EXPECT_EQ(phraseField(), "dog");
    EXPECT_EQ(hintField(), "pe");
    del();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
    EXPECT_EQ(v().deleteMode, 0);
    view();   // the status
    view();
    EXPECT_EQ(phraseField(), "cat");
}

TEST_F(ViewerTest, ACutLastRecordWithoutItsSemicolonIsDeletable) {
    startWith("cat;animal:dangling text");
    view();
    view();
    EXPECT_EQ(phraseField(), "dangling text");
    EXPECT_EQ(hintField(), "");
    del();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
    EXPECT_EQ(v().status, kReset);
}

TEST_F(ViewerTest, DeletingBeforeACutRecordCopiesItAsItStands) {
    const char* const tails[] = {"dog;pe", "dangling text", "odd;one:\nline end;\r\n:trail"};
    for (const char* tail : tails) {
        SCOPED_TRACE(tail);
        testing_support::resetProgramState();
        startWith(std::string("cat;animal:sun;star:") + tail);
        view();
        view();
        ASSERT_EQ(phraseField(), "sun");
        del();
        EXPECT_EQ(read("KXData.dat"), std::string("cat;animal:") + tail);
    }
}

TEST_F(ViewerTest, AFailedRewriteKeepsTheFileAndTheCount) {
    startWith("cat;animal:dog;pet:");
    library::libraryState.recordCount = 3;
    view();
    // The directory becomes read-only by replacing the file's place: a
    // directory of the same name cannot be renamed over.
    std::filesystem::remove(file("KXData.dat"));
    std::filesystem::create_directory(file("KXData.dat"));
    std::filesystem::create_directory(file("KXData.dat") / "keep");
    del();
    EXPECT_EQ(library::libraryState.recordCount, 3);
    EXPECT_TRUE(std::filesystem::is_directory(file("KXData.dat") / "keep"));
    EXPECT_EQ(v().step, 0);
    EXPECT_EQ(v().deleteMode, 0);
    EXPECT_TRUE(v().keptRecords.empty());
}

TEST_F(ViewerTest, AFailedRewriteOfARealFileLeavesItWhole) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    startWith("cat;animal:dog;pet:");
    library::libraryState.recordCount = 3;
    view();
    ::chmod(dir.c_str(), 0555);
    del();
    ::chmod(dir.c_str(), 0755);
    EXPECT_EQ(read("KXData.dat"), "cat;animal:dog;pet:");
    EXPECT_EQ(library::libraryState.recordCount, 3);
}

TEST_F(ViewerTest, ADeleteThatCannotBeWrittenLeavesTheFileWholeAndTheCount) {
    const std::string content = "cat;animal:dog;pet:sun;star:";
    startWith(content);
    library::libraryState.recordCount = 3;
    view();
    view();
    {
        library_test::FileSizeLimit full(4);   // the rewrite would need 20 bytes
        del();
    }
    EXPECT_EQ(read("KXData.dat"), content);
    EXPECT_EQ(library::libraryState.recordCount, 3);
    EXPECT_EQ(v().step, 0);
    EXPECT_EQ(v().status, kReset);
    // Nothing half-written is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
    EXPECT_EQ(files, 3);   // KXData.dat, KXC_CONFIG.INI and the folder's .KXLock
}

TEST_F(ViewerTest, ExitClosesTheStreamAndResetsNothingElse) {
    startWith("cat;animal:dog;pet:");
    view();
    library::closeViewerStream();
    EXPECT_FALSE(v().stream.is_open());
    library::closeViewerStream();   // closing twice is harmless
    EXPECT_FALSE(v().stream.is_open());
}

}  // namespace

namespace {

// ---- View, then Add: a hand-edited record of any length ---------------------

TEST_F(ViewerTest, AnAddRightAfterAViewStoresAHandEditedLongRecordWhole) {
    const std::string phrase = "A Phrase Edited By Hand Far Beyond The Thirty-Eight Of The Field";
    const std::string hint = "and a hint longer than the thirty-four characters typed";
    startWith("first;one:" + phrase + ";" + hint + ":last;two:");
    view();
    view();
    EXPECT_EQ(phraseField(), phrase) << "the whole field is shown, not the typing limit's cut";
    EXPECT_EQ(hintField(), hint);
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "first;one:" + phrase + ";" + hint + ":last;two:" +
                                      "a phrase edited by hand far beyond the thirty-eight of the field;" + hint +
                                      ":");
}

TEST_F(ViewerTest, AFieldBeyondWhatAnEditTakesIsStillStoredWholeByAnUneditedAdd) {
    const std::string phrase(40000, 'w');
    const std::string hint(33000, 'h');
    startWith("first;one:" + phrase + ";" + hint + ":last;two:");
    view();
    view();
    EXPECT_EQ(phraseField(), std::string(32767, 'w'));
    EXPECT_EQ(hintField(), std::string(32767, 'h'));
    // The player changes the hint only: the phrase on show is stored whole,
    // the hint as typed.
    desk.type(ui::id::HintEdit, "new hint");
    desk.pressButton(ui::id::AddButton);
    const std::string stored = read("KXData.dat");
    const std::string added = phrase + ";new hint:";
    ASSERT_GE(stored.size(), added.size());
    EXPECT_NE(stored.find(added), std::string::npos);
}

TEST_F(ViewerTest, AnEditedFieldIsStoredAsTypedAndNothingIsTakenWithoutARecordOnShow) {
    const std::string phrase = "A Phrase Edited By Hand Far Beyond The Thirty-Eight Of The Field";
    startWith("first;one:" + phrase + ";hint:last;two:");
    view();
    view();
    desk.type(ui::id::PhraseEdit, "typed anew");
    desk.pressButton(ui::id::AddButton);
    EXPECT_EQ(read("KXData.dat"), "first;one:" + phrase + ";hint:last;two:typed anew;hint:");
    // The pass has ended: the same text typed again is just typed text.
    desk.type(ui::id::PhraseEdit, phrase.substr(0, 10));
    desk.type(ui::id::HintEdit, "");
    desk.pressButton(ui::id::AddButton);
    EXPECT_NE(read("KXData.dat").find("a phrase e;no hint available:"), std::string::npos);
}

}  // namespace
