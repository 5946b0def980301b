// The configuration file: any bytes in KXC_CONFIG.INI are read without harm,
// never rewritten, and read the same way every time; whatever follows the two
// switch lines never changes what they say; a missing file is created locked
// and reads back locked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "library/Config.h"

namespace {

void readAsIs(const std::string& input) {
    fuzz::resetProgram();
    fuzz::writeFile("KXC_CONFIG.INI", input);
    library::loadConfig();
    const std::int32_t console = library::Disable_Console;
    const std::int32_t controls = library::Disable_VCCntls;
    FUZZ_CHECK(fuzz::readFile("KXC_CONFIG.INI") == input, "the reader changed " + fuzz::show(input));
    library::loadConfig();
    FUZZ_CHECK(library::Disable_Console == console && library::Disable_VCCntls == controls,
               "a second read differs for " + fuzz::show(input));
}

// The two lines as the program writes them, with the input's rest behind them.
void readBehindSwitchLines(const std::string& input) {
    const int console = static_cast<unsigned char>(input[0]) % 3;
    const int controls = static_cast<unsigned char>(input[1]) % 3;
    const std::string file = "Disable_Console= " + std::to_string(console) + "\nDisable_VCCntls= " +
                             std::to_string(controls) + "\n" + input.substr(2);
    fuzz::resetProgram();
    fuzz::writeFile("KXC_CONFIG.INI", file);
    library::loadConfig();
    FUZZ_CHECK(library::Disable_Console == console && library::Disable_VCCntls == controls,
               "read " + std::to_string(library::Disable_Console) + "/" +
                   std::to_string(library::Disable_VCCntls) + " from " + fuzz::show(file));
}

void readMissingFile() {
    fuzz::resetProgram();
    library::loadConfig();
    FUZZ_CHECK(library::Disable_Console == 1 && library::Disable_VCCntls == 1, "missing file not locked");
    const std::string created = fuzz::readFile("KXC_CONFIG.INI");
    library::Disable_Console = library::Disable_VCCntls = 0;
    library::loadConfig();
    FUZZ_CHECK(library::Disable_Console == 1 && library::Disable_VCCntls == 1,
               "the created file " + fuzz::show(created) + " does not read locked");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    readAsIs(input);
    if (size >= 2) readBehindSwitchLines(input);
    if (size == 0) readMissingFile();
    return 0;
}
