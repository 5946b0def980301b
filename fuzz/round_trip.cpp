// Export and import: any bytes as the plain library. Exported as txt or as
// csv and imported with the format guessed, the format is the one written
// and the records are those an import of the library's own entries makes,
// byte for byte (txt only for libraries without line ends in their fields).
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/Exporter.h"
#include "cli/Latin1.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ImportChecks.h"
#include "library/PuzzleLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string plain(reinterpret_cast<const char*>(data), size);
    fuzz::resetProgram();
    const auto records = library::splitLibrary(plain);

    // What the library's records make when taken in directly.
    std::vector<cli::RawEntry> direct;
    for (const auto& r : records) {
        cli::RawEntry e;
        e.phrase = cli::latin1ToUtf8(r.phrase);
        e.hint = cli::latin1ToUtf8(r.hint);
        direct.push_back(std::move(e));
    }
    const std::string expected = fuzz::checkedIntake(direct, plain);

    // A text list has no way to keep a line end in a field (export says so).
    bool lineEnds = false;
    for (const auto& r : records) lineEnds = lineEnds || (r.phrase + r.hint).find_first_of("\r\n") != std::string::npos;

    for (cli::Format written : {cli::Format::Txt, cli::Format::Csv}) {
        if (written == cli::Format::Txt && lineEnds) continue;
        const std::string exported = cli::exportRecords(records, written);
        cli::Format guessed = cli::Format::Kvtml;
        std::string error;
        const auto back = fuzz::importedEntries(exported, std::nullopt, guessed, error);
        // Only what no puzzle may hold (control characters) may make the text binary.
        if (!back) {
            FUZZ_CHECK(error.find("binary data") != std::string::npos, error + " " + fuzz::show(plain));
            continue;
        }
        // An empty export is any format.
        FUZZ_CHECK(guessed == written || exported.empty(), std::string(cli::formatName(written)) + " read as " +
                                           cli::formatName(guessed) + ": " + fuzz::show(plain));
        FUZZ_CHECK(fuzz::checkedIntake(*back, exported) == expected,
                   std::string(cli::formatName(written)) + " of " + fuzz::show(plain));
    }
    return 0;
}
