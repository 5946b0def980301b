#include "library/Config.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <string>

#include "app/AppPaths.h"
#include "library/AtomicFile.h"

namespace library {

std::int32_t Disable_Console = 0;
std::int32_t Disable_VCCntls = 0;
std::int32_t Keyboard_Play = 0;

namespace {

// The file written on a first run: locked, with a note on how to unlock.
// One LF per line end and none after the last line.
const char* const kDefaultConfig =
    "Disable_Console= 1\n"
    "Disable_VCCntls= 1\n"
    "\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

// The value of the line "Keyboard_Play= n", read apart from the two switches
// so that their reading stays as it is; 0 when the line is missing.
std::int32_t readKeyboardPlay(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    constexpr std::string_view key = "Keyboard_Play";
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        const auto equals = line.find_first_not_of(" \t", start + key.size());
        if (equals == std::string::npos || line[equals] != '=') continue;
        std::istringstream value(line.substr(equals + 1));
        std::int32_t n = 0;
        if (value >> n) return n;
        return 0;
    }
    return 0;
}

}  // namespace

void loadConfig() {
    Keyboard_Play = readKeyboardPlay(app::appPaths.configPath);

    // A number that cannot be read leaves its switch unlocked.
    Disable_Console = 0;
    Disable_VCCntls = 0;

    const std::string& path = app::appPaths.configPath;
    std::ifstream in(path);
    if (in) {
        // Only the first integer after the first '=' and after the second
        // count; the key names and the comments are not looked at. Once a
        // read fails, every later read fails too.
        std::string skipped;
        std::getline(in, skipped, '=');
        in >> Disable_Console;
        std::getline(in, skipped, '=');
        in >> Disable_VCCntls;
        if (!in.bad()) return;
        // A read error (the path is a directory, say) is no reason to unlock.
    }

    Disable_Console = 1;
    Disable_VCCntls = 1;
    // A file that is there but cannot be read is left alone rather than
    // overwritten with the defaults.
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return;
    replaceFileAtomically(path, kDefaultConfig);
}

}  // namespace library
