// Text word lists: any bytes. An entry is its line, split at the first ";"
// (else TAB), with an escape or a CR end taken away; read from a file it is
// what the reader gives, less a header row; the intake's records are the game's.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/HeaderRow.h"
#include "cli/Latin1.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ImportChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::resetProgram();
    const auto entries = cli::readTxt(bytes);

    // Each entry gives its line back.
    std::vector<std::string> lines;
    {
        std::string_view rest = cli::withoutBom(bytes);
        while (!rest.empty()) {
            // A line ends at LF, CR LF or a CR alone.
            const std::size_t end = rest.find_first_of("\r\n");
            std::string_view line = rest.substr(0, end);
            std::size_t next = end == std::string_view::npos ? rest.size() : end + 1;
            if (end != std::string_view::npos && rest[end] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
            rest.remove_prefix(next);
            lines.emplace_back(line);
        }
    }
    std::size_t previous = 0;
    for (const auto& e : entries) {
        FUZZ_CHECK(e.line > previous && e.line <= lines.size(), fuzz::show(bytes));
        previous = e.line;
        const std::string& line = lines[e.line - 1];
        FUZZ_CHECK(!line.empty() && line[0] != '#', fuzz::show(line));
        FUZZ_CHECK(e.phrase.find(';') == std::string::npos, fuzz::show(line));
        const bool escaped = line.size() > 1 && line[0] == '\\' && cli::isTxtEscaped(line[1]);
        const std::string body = escaped ? line.substr(1) : line;
        FUZZ_CHECK(body == e.phrase || body == e.phrase + ";" + e.hint || body == e.phrase + "\t" + e.hint,
                   fuzz::show(line));
    }
    fuzz::checkedIntake(entries, bytes);

    cli::Format format;
    std::string error;
    const auto read = fuzz::importedEntries(bytes, cli::Format::Txt, format, error);
    if (bytes.find('\0') != std::string::npos) FUZZ_CHECK(!read, "a NUL was read: " + fuzz::show(bytes));
    if (read) {
        // Read from a file, a first entry that names its columns ("Phrase;Hint")
        // is a header row and not a puzzle.
        std::vector<cli::RawEntry> expected = entries;
        if (!expected.empty() && !expected[0].phrase.empty() && !expected[0].hint.empty() &&
            cli::looksLikeHeader({expected[0].phrase, expected[0].hint}))
            expected.erase(expected.begin());
        fuzz::checkSameEntries(*read, expected, bytes);
    }
    return 0;
}
