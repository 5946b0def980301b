// Writing the library out as a word list the import reads back (UTF-8).
#pragma once

#include <string>
#include <vector>

#include "cli/Importers.h"
#include "library/PuzzleLibrary.h"

namespace cli {

// txt: "phrase;hint" a line. csv: two RFC 4180 fields a line, CRLF line ends.
// When import would take the first record for a header row, a header row
// ("Phrase;Hint", "Phrase,Hint") comes first.
std::string exportRecords(const std::vector<library::StoredRecord>& records, Format format);

}  // namespace cli
