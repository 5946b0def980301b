// The program-wide records: every name the logic uses is part of the one
// state a reset puts back, so nothing one program did reaches the next.
#include <gtest/gtest.h>

#include "app/ProgramState.h"
#include "library/Config.h"
#include "tests/logic/Fixture.h"

namespace {

using testing_support::ProgramTest;

TEST(ProgramState, EveryNameTheLogicUsesIsPartOfTheOneState) {
    auto& s = app::programState;
    EXPECT_EQ(&library::appPaths, &s.paths);
    EXPECT_EQ(&app::exitState, &s.exit);
    EXPECT_EQ(&game::roundState, &s.round);
    EXPECT_EQ(&game::playerStats, &s.playerStats);
    EXPECT_EQ(&game::statsFileState, &s.statsFile);
    EXPECT_EQ(&library::libraryFileState, &s.libraryFile);
    EXPECT_EQ(&library::libraryState, &s.library);
    EXPECT_EQ(&library::puzzleViewer, &s.viewer);
    EXPECT_EQ(&library::Disable_Console, &s.disableConsole);
    EXPECT_EQ(&library::Disable_VCCntls, &s.disableViewerControls);
}

TEST(ProgramState, AResetPutsEveryRecordBackAndClosesTheViewersFile) {
    char pattern[] = "/tmp/tarvik-state-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir = pattern;
    testing_support::writeFile(dir / "lib", "a;b:");
    library::appPaths.directory = "/somewhere/";
    app::exitState.exiting = true;
    game::roundState.answer = " A";
    game::roundState.soundToggleCount = 3;
    library::libraryState.recordCount = 9;
    game::playerStats[1].wins = 4;
    game::statsFileState.inHand = false;
    library::libraryFileState.inHand = true;
    library::libraryFileState.knownPlain = 17;
    library::puzzleViewer.stream.open(dir / "lib");
    library::puzzleViewer.step = 2;
    library::Disable_Console = 1;
    library::Disable_VCCntls = 1;
    ASSERT_TRUE(library::puzzleViewer.stream.is_open());

    app::resetProgramState();

    const app::ProgramState fresh;
    EXPECT_EQ(library::appPaths.directory, fresh.paths.directory);
    EXPECT_EQ(app::exitState.exiting, fresh.exit.exiting);
    EXPECT_EQ(game::roundState.answer, fresh.round.answer);
    EXPECT_EQ(game::roundState.soundToggleCount, 0);
    EXPECT_EQ(library::libraryState.recordCount, 0);
    EXPECT_EQ(game::playerStats[1].wins, 0);
    EXPECT_TRUE(game::statsFileState.inHand);
    EXPECT_FALSE(library::libraryFileState.inHand);
    EXPECT_TRUE(library::libraryFileState.alone);
    EXPECT_EQ(library::libraryFileState.knownPlain, 0u);
    EXPECT_FALSE(library::puzzleViewer.stream.is_open());
    EXPECT_EQ(library::puzzleViewer.step, 0);
    EXPECT_EQ(library::Disable_Console, 0);
    EXPECT_EQ(library::Disable_VCCntls, 0);
    std::filesystem::remove_all(dir);
}

// A program that ended lets the next one in the same process end as well:
// the exit runs once a program, not once a process.
class ProgramStateRuns : public ProgramTest {};

TEST_F(ProgramStateRuns, TheNextProgramStartsAndEndsAsTheFirstDid) {
    write("OnLoad.dat", library::scrambleBytes("first;one:kiwi;a fruit:last;two:"));
    start();
    app::orderlyExit();
    const std::string firstEnd = read("OnLoad.dat");
    EXPECT_EQ(desk.count("destroyWindow MainWindow"), 1);

    app::resetProgramState();
    platform::MemoryDesktop second;
    platform::setDesktop(&second);
    app::startProgram((dir / "tarvik-kxv").string());
    EXPECT_TRUE(library::libraryInHand()) << "the second program did not take the library";
    app::orderlyExit();
    EXPECT_EQ(second.count("destroyWindow MainWindow"), 1) << "the second program's exit did not run";
    EXPECT_EQ(read("OnLoad.dat"), firstEnd);
    EXPECT_EQ(read("KXData.dat"), "Data purged...");
    platform::setDesktop(&desk);
}

}  // namespace
