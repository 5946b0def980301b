// Reading word lists: plain text, CSV and KDE's kvtml, each into raw entries
// (UTF-8 text as found) that the intake then checks.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
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

// Where a reader hands each entry as soon as it is read.
using EntrySink = std::function<void(RawEntry&&)>;

// Whether the text is no word list at all: it holds a NUL byte.
bool looksBinary(std::string_view text);

// The format a text is in: kvtml when it starts as XML; csv when a line
// starts with a quote, or holds a comma but no ";" or TAB; else txt.
Format detectFormat(std::string_view text);

// txt: one entry a line, "phrase;hint" or "phrase<TAB>hint" or a phrase
// alone; empty lines and lines starting with "#" are skipped. A backslash
// before one of the characters isTxtEscaped names, at a line's start, is
// taken away (so a phrase may start with "#").
std::vector<RawEntry> readTxt(std::string_view text);
// The characters a phrase may not start with in a text list unless escaped:
// # " < \ and the blank.
bool isTxtEscaped(char c);
// One line of it (without its line end); false for a line that holds no entry.
bool readTxtLine(std::size_t number, std::string_view line, RawEntry& entry);

// Whether the first row of a spreadsheet is a header to skip.
enum class HeaderRule { Auto, Yes, No };

struct CsvLayout {
    char separator = 0;   // ',', ';' or TAB; 0: found from the first rows
    HeaderRule header = HeaderRule::Auto;   // Auto: skipped when its cells are header words
};

struct CsvRead {
    std::vector<RawEntry> entries;   // empty when a sink took them
    char separator = ',';        // the one used
    bool headerSkipped = false;
};

// csv as RFC 4180 has it, with the separator of the layout: a phrase column
// and an optional hint column (or those a header row names); quoted fields
// may hold separators, doubled quotes and line ends. Lines end at LF, CR LF
// or a lone CR. Each entry goes to the sink as soon as it is read.
CsvRead readCsv(std::string_view text, const CsvLayout& layout, const EntrySink& sink);
CsvRead readCsv(std::string_view text, const CsvLayout& layout);   // the entries collected
std::vector<RawEntry> readCsv(std::string_view text);   // everything found from the content

// "comma", "semicolon", "tab".
const char* separatorName(char separator);

// kvtml: every entry's first translation, its text the phrase and its
// comment the hint. False, with error, when the text is no readable kvtml.
bool readKvtml(std::string_view text, std::vector<RawEntry>& entries, std::string& error);

// The same, fed a piece at a time, each entry handed on as soon as it closes.
class KvtmlReader {
public:
    explicit KvtmlReader(EntrySink sink);
    ~KvtmlReader();
    KvtmlReader(const KvtmlReader&) = delete;
    KvtmlReader& operator=(const KvtmlReader&) = delete;

    // The next piece of the file; last with its final piece. False, with
    // error, once the file shows it is no readable kvtml.
    bool feed(std::string_view chunk, bool last, std::string& error);

    struct State;

private:
    bool begin(std::string_view& chunk, std::string& error);
    std::unique_ptr<State> state_;
};

}  // namespace cli
