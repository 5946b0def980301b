// CSV word lists: any bytes. Lines of entries only go forward; without
// quotes no field holds a separator; read from a
// file it is what the reader gives over the text; the intake's records are
// the game's.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/ImportChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::resetProgram();
    const auto entries = cli::readCsv(bytes);
    std::size_t previous = 0;
    // A line ends at LF, CR LF or a CR alone.
    std::size_t lines = 1;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (bytes[k] == '\n' || (bytes[k] == '\r' && (k + 1 >= bytes.size() || bytes[k + 1] != '\n'))) ++lines;
    }
    for (const auto& e : entries) {
        FUZZ_CHECK(e.line > previous && e.line <= lines, fuzz::show(bytes));
        previous = e.line;
        // Without quotes a field never holds a line end (the separator, found
        // from the rows, may be ";" or TAB: a comma may then be in a field).
        if (bytes.find('"') == std::string::npos)
            FUZZ_CHECK(e.phrase.find_first_of("\r\n") == std::string::npos && e.hint.find_first_of("\r\n") == std::string::npos,
                       fuzz::show(bytes));
    }
    fuzz::checkedIntake(entries, bytes);

    cli::Format format;
    std::string error;
    const auto read = fuzz::importedEntries(bytes, cli::Format::Csv, format, error);
    if (bytes.find('\0') != std::string::npos) FUZZ_CHECK(!read, "a NUL was read: " + fuzz::show(bytes));
    if (read) fuzz::checkSameEntries(*read, entries, bytes);
    return 0;
}
