// The scrambled form of the puzzle file, its record reads, and its life cycle
// from start-up to the orderly exit.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "Fixture.h"
#include "LibraryTestSupport.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"

namespace {

using testing_support::ProgramTest;

std::string bytes(std::initializer_list<unsigned> codes) {
    std::string s;
    for (unsigned c : codes) s.push_back(static_cast<char>(c));
    return s;
}

TEST(Transform, ScramblesTheOneRecordExample) {
    EXPECT_EQ(library::scrambleBytes("go;up:"), bytes({0x68, 0x71, 0x3E, 0x79, 0x75, 0x40}));
    EXPECT_EQ(library::unscrambleBytes(bytes({0x68, 0x71, 0x3E, 0x79, 0x75, 0x40})), "go;up:");
}

TEST(Transform, WrapsAt256AndRestartsTheOffsetsEveryTenthPosition) {
    std::string plain(12, 'a');
    plain[9] = static_cast<char>(0xFA);
    const std::string s = library::scrambleBytes(plain);
    EXPECT_EQ(static_cast<unsigned char>(s[9]), 0x04);
    EXPECT_EQ(s[8], 'a' + 9);
    EXPECT_EQ(s[10], 'a' + 1);   // offset 1 again at position 10
    EXPECT_EQ(s[11], 'a' + 2);
    EXPECT_EQ(static_cast<unsigned char>(library::unscrambleBytes(bytes({0, 0}))[1]), 0xFE);
    // Offsets keep counting across record boundaries: position 20 has offset 1.
    const std::string longer = library::scrambleBytes(std::string(25, 'A'));
    EXPECT_EQ(longer[20], 'A' + 1);
    EXPECT_EQ(longer[24], 'A' + 5);
}

TEST(Transform, RoundTripsEveryByteAtEveryOffset) {
    std::string all;
    for (int rep = 0; rep < 11; ++rep)
        for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    EXPECT_EQ(library::unscrambleBytes(library::scrambleBytes(all)), all);
    EXPECT_EQ(library::scrambleBytes(library::unscrambleBytes(all)), all);
    EXPECT_EQ(library::scrambleBytes(""), "");
}

TEST(ReadField, FollowsGetline) {
    std::istringstream in("cat;animal:;x:tail");
    std::string f = "old";
    ASSERT_TRUE(library::readField(in, f, ';'));
    EXPECT_EQ(f, "cat");
    ASSERT_TRUE(library::readField(in, f, ':'));
    EXPECT_EQ(f, "animal");
    // A delimiter straight away gives an empty field, and succeeds.
    ASSERT_TRUE(library::readField(in, f, ';'));
    EXPECT_EQ(f, "");
    ASSERT_TRUE(library::readField(in, f, ':'));
    EXPECT_EQ(f, "x");
    // The end of the input ends the last field, which keeps what it took.
    ASSERT_TRUE(library::readField(in, f, ';'));
    EXPECT_EQ(f, "tail");
    // Nothing left: the read fails and leaves the field empty.
    EXPECT_FALSE(library::readField(in, f, ':'));
    EXPECT_EQ(f, "");
}

class PuzzleFileLife : public ProgramTest {};

TEST_F(PuzzleFileLife, StartUpUnscramblesIntoThePlainFile) {
    write("OnLoad.dat", library::scrambleBytes("cat;animal:dog;pet:"));
    write("KXData.dat", "Data purged...");
    start();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:dog;pet:");
    EXPECT_EQ(read("OnLoad.dat"), library::scrambleBytes("cat;animal:dog;pet:"));
}

TEST_F(PuzzleFileLife, MissingScrambledFileLeavesThePlainFileUntouched) {
    write("KXData.dat", "kept;as is:");
    start();
    EXPECT_EQ(read("KXData.dat"), "kept;as is:");
    EXPECT_FALSE(exists("OnLoad.dat"));
}

TEST_F(PuzzleFileLife, MissingBothFilesCreatesNeither) {
    start();
    EXPECT_FALSE(exists("KXData.dat"));
    EXPECT_FALSE(exists("OnLoad.dat"));
}

TEST_F(PuzzleFileLife, EmptyScrambledFileGivesAnEmptyPlainFile) {
    write("OnLoad.dat", "");
    write("KXData.dat", "Data purged...");
    start();
    ASSERT_TRUE(exists("KXData.dat"));
    EXPECT_EQ(read("KXData.dat"), "");
}

TEST_F(PuzzleFileLife, ExitButtonScramblesPurgesThenSavesAndQuits) {
    write("OnLoad.dat", library::scrambleBytes("go;up:"));
    start();
    write("KXData.dat", "go;up:sun;star:");   // changed during the run
    desk.pressButton(ui::id::ExitButton);
    EXPECT_EQ(read("OnLoad.dat"), library::scrambleBytes("go;up:sun;star:"));
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    EXPECT_EQ(read("KXData.dat").size(), 14u);
    EXPECT_TRUE(exists("KXStats.dat"));
    EXPECT_TRUE(desk.window(platform::Window::Main).destroyed);
    EXPECT_TRUE(desk.quitPosted());
    EXPECT_EQ(desk.exitCode(), 0);
    EXPECT_TRUE(desk.wavesPlayed().empty());
    // No temporary files are left behind.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 5);   // OnLoad.dat, KXData.dat, KXStats.dat, KXC_CONFIG.INI, .KXLock
}

TEST_F(PuzzleFileLife, ARunSurvivesExitAndTheNextStart) {
    const std::string text = std::string("wrap\xFA\xF9\xF8;at the end:", 17) + "ten chars;0123456789:";
    write("KXData.dat", text);
    start();
    desk.pressButton(ui::id::ExitButton);
    testing_support::resetProgramState();
    start();
    EXPECT_EQ(read("KXData.dat"), text);
}

TEST_F(PuzzleFileLife, UnreadablePlainFileAtExitChangesNothing) {
    write("OnLoad.dat", "old scrambled");
    start();   // replaces KXData.dat
    std::filesystem::remove(file("KXData.dat"));
    EXPECT_FALSE(library::scramblePuzzleFile());
    EXPECT_EQ(read("OnLoad.dat"), "old scrambled");
    EXPECT_FALSE(exists("KXData.dat"));
}

TEST_F(PuzzleFileLife, FailedScrambledWriteKeepsThePlainFileUnpurged) {
    // OnLoad.dat is a directory, so it cannot be replaced by a file.
    std::filesystem::create_directory(file("OnLoad.dat"));
    write("KXData.dat", "cat;animal:");
    start();
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
    EXPECT_FALSE(library::scramblePuzzleFile());
    EXPECT_TRUE(std::filesystem::is_directory(file("OnLoad.dat")));
    EXPECT_EQ(read("KXData.dat"), "cat;animal:");
}

TEST_F(PuzzleFileLife, ReadOnlyDirectoryKeepsTheOldScrambledFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    const std::string old = library::scrambleBytes("old;one:");
    write("OnLoad.dat", old);
    start();
    write("KXData.dat", "new;one:");
    ::chmod(dir.c_str(), 0555);
    const bool saved = library::scramblePuzzleFile();
    ::chmod(dir.c_str(), 0755);
    EXPECT_FALSE(saved);
    EXPECT_EQ(read("OnLoad.dat"), old);
    EXPECT_EQ(read("KXData.dat"), "new;one:");
}

TEST_F(PuzzleFileLife, AScrambledFileThatDoesNotFitKeepsTheOldOneAndThePlainFile) {
    const std::string old = library::scrambleBytes("old;one:");
    write("OnLoad.dat", old);
    start();
    write("KXData.dat", "a much longer list;of puzzles:");
    bool saved = true;
    {
        library_test::FileSizeLimit full(16);
        saved = library::scramblePuzzleFile();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(read("OnLoad.dat"), old);
    EXPECT_EQ(read("KXData.dat"), "a much longer list;of puzzles:");
}

TEST_F(PuzzleFileLife, ExitClosesTheViewersStream) {
    write("KXData.dat", "cat;animal:dog;pet:");
    writeUnlockedConfig();
    start();
    desk.pressButton(ui::id::ViewButton);
    ASSERT_TRUE(library::puzzleViewer.stream.is_open());
    desk.pressButton(ui::id::ExitButton);
    EXPECT_FALSE(library::puzzleViewer.stream.is_open());
    EXPECT_EQ(read("OnLoad.dat"), library::scrambleBytes("cat;animal:dog;pet:"));
}

}  // namespace
