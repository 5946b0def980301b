// The game's command line: --help and --version answer and end the process,
// anything else is refused with exit code 2 before a window opens.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

library::AppPaths pathsIn(const std::string& dir) {
    library::AppPaths p;
    p.directory = dir;
    p.helpPath = "/usr/share/games/tarvik-kxv/Tarvik_kxv-help.chm";
    p.statsPath = dir + "KXStats.dat";
    p.plainPuzzlePath = dir + "KXData.dat";
    p.configPath = dir + "KXC_CONFIG.INI";
    p.scrambledPuzzlePath = dir + "OnLoad.dat";
    return p;
}

struct Asked {
    int times = 0;
    std::function<library::AppPaths()> where() {
        return [this] {
            ++times;
            return pathsIn("/home/ann/.local/share/tarvik-kxv/");
        };
    }
};

TEST(CommandLine, WithoutArgumentsTheGameRunsAndNothingIsPrinted) {
    Asked asked;
    const auto line = app::parseCommandLine({}, asked.where());
    EXPECT_TRUE(line.run);
    EXPECT_EQ(line.output, "");
    EXPECT_EQ(line.errors, "");
    EXPECT_EQ(asked.times, 0) << "the paths are only looked up for --help";
}

TEST(CommandLine, HelpListsEveryOptionAndTheFilesInTheFolderInUseAndEndsWithZero) {
    Asked asked;
    const auto line = app::parseCommandLine({"--help"}, asked.where());
    EXPECT_FALSE(line.run);
    EXPECT_EQ(line.exitCode, 0);
    EXPECT_EQ(line.errors, "");
    EXPECT_EQ(line.output.rfind("Usage: tarvik-kxv [OPTION]\n", 0), 0u) << line.output;
    for (const auto& option : app::commandLineOptions) {
        EXPECT_NE(line.output.find(std::string("  ") + option.name + " "), std::string::npos) << option.name;
    }
    EXPECT_NE(line.output.find("Files, in /home/ann/.local/share/tarvik-kxv/:\n"), std::string::npos)
        << line.output;
    for (const char* name : {"OnLoad.dat", "KXData.dat", "KXStats.dat", "KXC_CONFIG.INI"}) {
        EXPECT_TRUE(std::regex_search(line.output, std::regex(std::string("\n  ") + name + " +[a-z]")))
            << name << " missing from\n" << line.output;
    }
    EXPECT_NE(line.output.find("Help document: /usr/share/games/tarvik-kxv/Tarvik_kxv-help.chm\n"),
              std::string::npos);
    EXPECT_EQ(asked.times, 1);
    // A copy that keeps its files in the current directory says so.
    EXPECT_NE(app::usageText(pathsIn("")).find("Files, in the current directory:\n"), std::string::npos);
}

std::string projectVersion() {
    std::ifstream in(std::string(TARVIK_SOURCE_DIR) + "/CMakeLists.txt");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::smatch m;
    return std::regex_search(text, m, std::regex(R"(project\(TarvikKXv VERSION ([0-9.]+))")) ? m[1].str() : "";
}

TEST(CommandLine, VersionIsTheProjectsOwn) {
    Asked asked;
    const auto line = app::parseCommandLine({"--version"}, asked.where());
    EXPECT_FALSE(line.run);
    EXPECT_EQ(line.exitCode, 0);
    ASSERT_FALSE(projectVersion().empty());
    EXPECT_EQ(line.output, "tarvik-kxv " + projectVersion() + "\n");
    EXPECT_EQ(line.errors, "");
}

TEST(CommandLine, UnknownOptionsAndArgumentsAreRefusedWithTwoAndAPointerToHelp) {
    Asked asked;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, {"-h"}, {"--HELP"}, {"--help=x"}, {"-"}, {"puzzles.csv"},
          {"--version", "--bogus"}, {"--bogus", "--version"}, {""}}) {
        const auto line = app::parseCommandLine(args, asked.where());
        const std::string what = args.back();
        if (args.front() == "--version") {
            // The first option that ends the process answers alone.
            EXPECT_EQ(line.exitCode, 0);
            continue;
        }
        EXPECT_FALSE(line.run) << args.front();
        EXPECT_EQ(line.exitCode, 2) << args.front();
        EXPECT_EQ(line.output, "") << args.front();
        EXPECT_NE(line.errors.find("'" + args.front() + "'"), std::string::npos) << line.errors;
        EXPECT_NE(line.errors.find("Try 'tarvik-kxv --help'"), std::string::npos) << line.errors;
        EXPECT_EQ(line.errors.rfind("tarvik-kxv: ", 0), 0u) << line.errors;
    }
    EXPECT_EQ(app::parseCommandLine({"--bogus"}, asked.where()).errors,
              "tarvik-kxv: unknown option '--bogus'\nTry 'tarvik-kxv --help' for the options.\n");
    EXPECT_EQ(app::parseCommandLine({"words.txt"}, asked.where()).errors,
              "tarvik-kxv: takes no arguments, but was given 'words.txt'\n"
              "Try 'tarvik-kxv --help' for the options.\n");
}

}  // namespace
