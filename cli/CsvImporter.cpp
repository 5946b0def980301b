// CSV word lists: RFC 4180 fields, a phrase column and an optional hint
// column; the separator (comma, semicolon or TAB) and a header row found
// from the content unless given.
#include <algorithm>
#include <array>
#include <map>

#include "cli/HeaderRow.h"
#include "cli/Importers.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

// One record of fields; pos moves past its line end. False at the end.
struct Row {
    std::vector<std::string> fields;
    std::size_t line = 0;
    bool unclosed = false;
    bool stray = false;   // a quote inside an unquoted field, or text after a closing one
};

// A line ends at LF, CR LF or a CR alone (old Mac files).
bool atLineEnd(std::string_view text, std::size_t pos) {
    return pos < text.size() && (text[pos] == '\n' || text[pos] == '\r');
}

void skipLineEnd(std::string_view text, std::size_t& pos, std::size_t& line) {
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    ++pos;
    ++line;
}

bool nextRow(std::string_view text, char separator, std::size_t& pos, std::size_t& line, Row& row) {
    if (pos >= text.size()) return false;
    row = Row{};
    row.line = line;
    std::string field;
    while (true) {
        const bool quoted = pos < text.size() && text[pos] == '"';
        if (quoted) {
            // A quoted field: up to the lone closing quote; "" stands for ".
            ++pos;
            bool closed = false;
            while (pos < text.size()) {
                const char c = text[pos++];
                if (c == '"') {
                    if (pos < text.size() && text[pos] == '"') {
                        field.push_back('"');
                        ++pos;
                        continue;
                    }
                    closed = true;
                    break;
                }
                if (c == '\n' || (c == '\r' && (pos >= text.size() || text[pos] != '\n'))) ++line;
                field.push_back(c);
            }
            if (!closed) row.unclosed = true;
        }
        // The unquoted part (or what follows a closing quote) up to the separator or a line end.
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != separator && !atLineEnd(text, pos)) {
            if (text[pos] == '"') row.stray = true;
            field.push_back(text[pos++]);
        }
        if (quoted && pos > start) row.stray = true;
        row.fields.push_back(std::move(field));
        field.clear();
        if (pos < text.size() && text[pos] == separator) {
            ++pos;
            continue;
        }
        if (pos < text.size()) skipLineEnd(text, pos, line);
        return true;
    }
}

bool isEmptyRow(const Row& row) { return row.fields.size() == 1 && row.fields[0].empty() && !row.unclosed; }

constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};

// The separator the first rows show: one whose quotes all open and close
// fields as RFC 4180 has them (a wrong separator sees a quoted field's
// separators and line ends as its own and ends up with stray quotes), then
// the one that splits the most of them, then the one that splits them most
// alike; a comma when none splits any.
char foundSeparator(std::string_view text) {
    text = text.substr(0, 64 * 1024);
    char best = ',';
    bool bestClean = false;
    std::size_t bestSplit = 0, bestAlike = 0;
    bool firstOne = true;
    for (char separator : kSeparators) {
        std::size_t pos = 0, line = 1, split = 0, looked = 0;
        bool clean = true;
        std::map<std::size_t, std::size_t> widths;
        Row row;
        while (looked < 20 && nextRow(text, separator, pos, line, row)) {
            if (isEmptyRow(row)) continue;
            ++looked;
            if (row.fields.size() > 1) ++split;
            if (row.stray || row.unclosed) clean = false;
            ++widths[row.fields.size()];
        }
        std::size_t alike = 0;
        for (const auto& [width, rows] : widths) {
            if (width > 1 && rows > alike) alike = rows;
        }
        const bool better = firstOne || (clean && !bestClean) ||
                            (clean == bestClean &&
                             (split > bestSplit || (split == bestSplit && alike > bestAlike)));
        if (better && (split > 0 || firstOne)) {
            best = separator;
            bestClean = clean;
            bestSplit = split;
            bestAlike = alike;
        }
        firstOne = false;
    }
    return best;
}

// Which fields a row's phrase and hint come from, and how many columns it may have.
struct Columns {
    std::size_t phrase = 0;
    std::size_t hint = 1;   // kNone: no hint column
    std::size_t width = 2;  // cells beyond it must be empty
};
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The columns a header names: its phrase and hint column where it names
// them, else the first two; every column it names may hold anything.
Columns columnsNamed(const std::vector<std::string>& header) {
    Columns c;
    c.width = std::max<std::size_t>(header.size(), 2);
    std::size_t phrase = kNone, hint = kNone;
    for (std::size_t k = 0; k < header.size(); ++k) {
        const ColumnRole role = headerRole(header[k]);
        if (role == ColumnRole::Phrase && phrase == kNone) phrase = k;
        if (role == ColumnRole::Hint && hint == kNone) hint = k;
    }
    if (phrase == kNone) phrase = hint == 0 ? 1 : 0;
    if (hint == kNone) hint = phrase == 0 ? 1 : (phrase == 1 ? 0 : kNone);
    c.phrase = phrase;
    c.hint = hint;
    return c;
}

}  // namespace

const char* separatorName(char separator) {
    switch (separator) {
        case ',': return "comma";
        case ';': return "semicolon";
        case '\t': return "tab";
    }
    return "?";
}

CsvRead readCsv(std::string_view text, const CsvLayout& layout, const EntrySink& sink) {
    text = withoutBom(text);
    CsvRead result;
    result.separator = layout.separator != 0 ? layout.separator : foundSeparator(text);
    std::size_t pos = 0, line = 1;
    Columns columns;
    bool first = true;
    Row row;
    while (nextRow(text, result.separator, pos, line, row)) {
        // Empty lines hold no entry.
        if (isEmptyRow(row)) continue;
        if (first) {
            first = false;
            const bool header = layout.header == HeaderRule::Yes ||
                                (layout.header == HeaderRule::Auto && !row.unclosed && looksLikeHeader(row.fields));
            if (header) {
                result.headerSkipped = true;
                columns = columnsNamed(row.fields);
                continue;
            }
        }
        RawEntry e;
        e.line = row.line;
        if (columns.phrase < row.fields.size()) e.phrase = std::move(row.fields[columns.phrase]);
        if (columns.hint < row.fields.size()) e.hint = std::move(row.fields[columns.hint]);
        // Spreadsheets pad rows with empty columns; those are harmless.
        for (std::size_t k = columns.width; k < row.fields.size(); ++k) {
            if (!row.fields[k].empty()) e.fault = SkipReason::TooManyColumns;
        }
        if (row.unclosed) e.fault = SkipReason::UnclosedQuote;
        sink(std::move(e));
    }
    return result;
}

CsvRead readCsv(std::string_view text, const CsvLayout& layout) {
    std::vector<RawEntry> entries;
    CsvRead result = readCsv(text, layout, [&](RawEntry&& e) { entries.push_back(std::move(e)); });
    result.entries = std::move(entries);
    return result;
}

std::vector<RawEntry> readCsv(std::string_view text) { return readCsv(text, CsvLayout{}).entries; }

}  // namespace cli
