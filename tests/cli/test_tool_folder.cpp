// A folder named with --dir is used as it is: even one where an earlier
// install kept the player's files beside the game, nothing is moved out of
// it into the data folder, and no data folder is made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "library/PuzzleFile.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

TEST(ToolFolder, ADirFolderBesideAnInstallKeepsItsFilesAndNoDataFolderIsMade) {
    TempFolder f("tool-folder");
    // prefix/games/ with the files an earlier install kept there, and the
    // installed data an installed game would find from there.
    const fs::path games = f / "prefix" / "games";
    fs::create_directories(games);
    fs::create_directories(f / "prefix" / "share" / "games" / "tarvik-kxv");
    writeBytes(f / "prefix" / "share" / "games" / "tarvik-kxv" / "OnLoad.dat",
               library::scrambleBytes("first;1:shipped;s:last;2:"));
    writeBytes(games / "OnLoad.dat", library::scrambleBytes("first;1:cat;Animal:last;2:"));
    writeBytes(games / "KXStats.dat", "70 2 1 0 0 0");
    writeBytes(f / "words.txt", "kiwi;A fruit\n");

    const std::optional<std::string> saved =
        std::getenv("XDG_DATA_HOME") ? std::optional<std::string>(std::getenv("XDG_DATA_HOME")) : std::nullopt;
    setenv("XDG_DATA_HOME", (f / "data").c_str(), 1);
    const auto listed = runTool({"--dir", games.string(), "list"});
    const auto imported = runTool({"--dir", games.string(), "import", (f / "words.txt").string()});
    if (saved) setenv("XDG_DATA_HOME", saved->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");

    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("cat"), std::string::npos) << listed.out;
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(library::unscrambleBytes(readBytes(games / "OnLoad.dat")), "first;1:cat;Animal:kiwi;A fruit:last;2:");
    EXPECT_EQ(readBytes(games / "KXStats.dat"), "70 2 1 0 0 0");
    EXPECT_FALSE(fs::exists(f / "data")) << "the tool made a data folder it was not asked to use";
}

}  // namespace
