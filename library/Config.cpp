#include "library/Config.h"

#include <sstream>
#include <string_view>
#include <string>

#include "library/AppPaths.h"
#include "library/AtomicFile.h"

namespace library {

// One LF per line end and none after the last line.
const char* const kDefaultConfig =
    "Disable_Console= 1\n"
    "Disable_VCCntls= 1\n"
    "\n"
    "//To Enable Edit Cntls:  set value(s) to '0'\n"
    "//Editing this file incorrectly, or removing\n"
    "//content may result in program failure.  If\n"
    "//proper file format is lost, delete file...";

const char* defaultConfigText() { return kDefaultConfig; }

namespace {

// The value of the line "Keyboard_Play= n", read apart from the two switches
// so that their reading stays as it is; 0 when the line is missing.
std::int32_t readKeyboardPlay(const std::string& bytes) {
    std::istringstream in(bytes);
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
    Keyboard_Play = 0;
    // A number that cannot be read leaves its switch unlocked.
    Disable_Console = 0;
    Disable_VCCntls = 0;

    const std::string& path = appPaths.configPath;
    std::string bytes;
    const ReadOutcome outcome = readFileIfPresent(path, bytes);
    if (outcome == ReadOutcome::Read) {
        Keyboard_Play = readKeyboardPlay(bytes);
        std::istringstream in(bytes);
        // Only the first integer after the first '=' and after the second
        // count; the key names and the comments are not looked at. Once a
        // read fails, every later read fails too.
        std::string skipped;
        std::getline(in, skipped, '=');
        in >> Disable_Console;
        std::getline(in, skipped, '=');
        in >> Disable_VCCntls;
        return;
    }

    Disable_Console = 1;
    Disable_VCCntls = 1;
    // A file that is there but cannot be read (a directory, a link refused in
    // a shared folder, say) is no reason to unlock, and is left alone rather
    // than overwritten with the defaults.
    if (outcome == ReadOutcome::Missing) replaceFileAtomically(path, kDefaultConfig);
}

}  // namespace library
