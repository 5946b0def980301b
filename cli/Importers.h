// Reading word lists: plain text, CSV and KDE's kvtml, each into raw entries
// (UTF-8 text as found) that the intake then checks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SkipReason.h"

namespace cli {

enum class Format { Txt, Csv, Kvtml };

std::optional<Format> formatNamed(std::string_view name);
const char* formatName(Format format);

struct RawEntry {
    std::size_t line = 0;   // where the entry starts, from 1
    std::string phrase;
    std::string hint;       // empty when the entry has none
    SkipReason fault = SkipReason::None;   // a fault found while reading it
};

// Whether the text is no word list at all: it holds a NUL byte.
bool looksBinary(std::string_view text);

// The format a text is in: kvtml when it starts as XML; csv when a line
// starts with a quote, or holds a comma but no ";" or TAB; else txt.
Format detectFormat(std::string_view text);

// txt: one entry a line, "phrase;hint" or "phrase<TAB>hint" or a phrase
// alone; empty lines and lines starting with "#" are skipped.
std::vector<RawEntry> readTxt(std::string_view text);

// Whether the first row of a spreadsheet is a header to skip.
enum class HeaderRule { Auto, Yes, No };

struct CsvLayout {
    char separator = 0;   // ',', ';' or TAB; 0: found from the first rows
    HeaderRule header = HeaderRule::Auto;   // Auto: skipped when its cells are header words
};

struct CsvRead {
    std::vector<RawEntry> entries;
    char separator = ',';        // the one used
    bool headerSkipped = false;
};

// csv as RFC 4180 has it, with the separator of the layout: a phrase column
// and an optional hint column (or those a header row names); quoted fields
// may hold separators, doubled quotes and line ends. Lines end at LF, CR LF
// or a lone CR.
CsvRead readCsv(std::string_view text, const CsvLayout& layout);
std::vector<RawEntry> readCsv(std::string_view text);   // everything found from the content

// "comma", "semicolon", "tab".
const char* separatorName(char separator);

// kvtml: every entry's first translation, its text the phrase and its
// comment the hint. False, with error, when the text is no readable kvtml.
bool readKvtml(std::string_view text, std::vector<RawEntry>& entries, std::string& error);

}  // namespace cli
