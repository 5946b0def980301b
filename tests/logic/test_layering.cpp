// The folders' dependencies go one way: each includes only folders below it
// in cli, app, help, game, library, ui, platform; platform knows nothing of
// the game, and no part of the game includes cli, the library tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kLevel = {{"cli", 6},  {"app", 5},     {"help", 4},
                                           {"game", 3}, {"library", 2}, {"ui", 1},
                                           {"platform", 0}};

TEST(Layering, EachFolderIncludesOnlyTheFoldersBelowIt) {
    const fs::path root = TARVIK_SOURCE_DIR;
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z]+)/([^"]+)")re");
    int files = 0;
    for (const auto& [folder, level] : kLevel) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                std::smatch m;
                if (!std::regex_search(line, m, include)) continue;
                const auto target = kLevel.find(m[1].str());
                if (target == kLevel.end() || target->second <= level) continue;
                ADD_FAILURE() << fs::relative(entry.path(), root).string() << " includes " << m[1] << "/"
                              << m[2] << ", a folder above it";
            }
        }
    }
    EXPECT_GT(files, 60) << "the source folders were not found under " << root;
}

}  // namespace
