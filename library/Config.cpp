#include "library/Config.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppPaths.h"
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

void loadConfig() {
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
