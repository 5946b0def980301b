// The entries of one input, read a piece at a time in the format given or
// found in its first bytes, each handed on as soon as it is read.
#pragma once

#include <optional>
#include <string>

#include "cli/Importers.h"
#include "cli/InputFile.h"

namespace cli {

// How the inputs are to be read: what import's options say.
struct ReadingRules {
    std::optional<Format> format;   // none: csv for a name ending in .csv or a separator given, else guessed
    CsvLayout csv;                  // the separator and header rule (the header rule holds for txt too)
};

// False, with the reason (naming the input), when the input fails or turns
// out to be no word list of its format; entries handed on before that
// are to be dropped. note tells how it was read when that is not plain
// ("semicolon, header row skipped").
bool readEntries(InputFile& in, const ReadingRules& rules, const EntrySink& sink, Format& format,
                 std::string& note, std::string& error);

// The same with the format given or guessed from the content alone, the
// separator and a header row found from it.
bool readEntries(InputFile& in, const std::optional<Format>& given, const EntrySink& sink, Format& format,
                 std::string& error);

}  // namespace cli
