// kvtml files: any bytes, the first byte choosing how the rest is cut into
// pieces. Fed piece by piece the reader gives what it gives over the whole
// file, or the same refusal; phrases and hints carry no blanks at their
// edges; read from a file it is the same, unless the file looks like binary
// data; the intake's records are the game's.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/TextCensus.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ImportChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t stride = data[0] % 64 + 1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    fuzz::resetProgram();

    std::vector<cli::RawEntry> whole;
    std::string error;
    const bool ok = cli::readKvtml(bytes, whole, error);
    FUZZ_CHECK(ok || !error.empty(), "refused without a reason: " + fuzz::show(bytes));

    std::vector<cli::RawEntry> pieces;
    std::string pieceError;
    bool piecesOk = true;
    {
        cli::KvtmlReader reader([&](cli::RawEntry&& e) { pieces.push_back(std::move(e)); });
        std::size_t at = 0;
        do {
            const std::string_view piece = std::string_view(bytes).substr(at, stride);
            at += piece.size();
            piecesOk = reader.feed(piece, at >= bytes.size(), pieceError);
        } while (piecesOk && at < bytes.size());
    }
    FUZZ_CHECK(piecesOk == ok, "whole: " + error + ", in pieces: " + pieceError + " " + fuzz::show(bytes));
    if (!ok) return 0;
    fuzz::checkSameEntries(pieces, whole, bytes);
    for (const auto& e : whole) {
        for (const std::string* s : {&e.phrase, &e.hint}) {
            if (s->empty()) continue;
            FUZZ_CHECK(std::string(" \t\r\n").find(s->front()) == std::string::npos &&
                           std::string(" \t\r\n").find(s->back()) == std::string::npos,
                       fuzz::show(*s));
        }
    }
    fuzz::checkedIntake(whole, bytes);

    cli::Format format;
    const auto read = fuzz::importedEntries(bytes, cli::Format::Kvtml, format, error);
    // Read from a file, what looks like binary data is refused before it is read as a list.
    cli::TextCensus census;
    census.add(bytes);
    if (census.sawNul() || census.mostlyNotWords()) {
        FUZZ_CHECK(!read.has_value(), "binary data was read: " + fuzz::show(bytes));
        return 0;
    }
    FUZZ_CHECK(read.has_value(), error + " " + fuzz::show(bytes));
    fuzz::checkSameEntries(*read, whole, bytes);
    return 0;
}
