// A fresh program for each test: an empty directory beside a pretend
// executable, the in-memory desktop, and every program-wide record reset.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/Exit.h"
#include "app/ProgramState.h"
#include "app/Startup.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "library/AppPaths.h"
#include "library/Config.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleViewer.h"
#include "platform/memory/MemoryDesktop.h"
#include "ui/Controls.h"

namespace testing_support {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Puts every program-wide record back to its start value.
inline void resetProgramState() { app::resetProgramState(); }

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        resetProgramState();
        platform::setDesktop(&desk);
    }
    void TearDown() override {
        resetProgramState();
        platform::setDesktop(nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Runs the whole start-up, as the real program does.
    void start() {
        app::startProgram((dir / "tarvik-kxv").string());
        desk.clearCalls();
    }

    fs::path file(const std::string& name) const { return dir / name; }
    std::string read(const std::string& name) const { return readFile(dir / name); }
    void write(const std::string& name, const std::string& bytes) const { writeFile(dir / name, bytes); }
    bool exists(const std::string& name) const { return fs::exists(dir / name); }

    // An unlocked configuration, so the editing features work.
    void writeUnlockedConfig() { write("KXC_CONFIG.INI", "Disable_Console= 0\nDisable_VCCntls= 0\n"); }

    fs::path dir;
    platform::MemoryDesktop desk;
};

}  // namespace testing_support
