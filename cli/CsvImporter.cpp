// CSV word lists: RFC 4180 fields, a phrase column and an optional hint column.
#include "cli/Importers.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

// One record of fields; pos moves past its line end. False at the end.
struct Row {
    std::vector<std::string> fields;
    std::size_t line = 0;
    bool unclosed = false;
};

bool nextRow(std::string_view text, std::size_t& pos, std::size_t& line, Row& row) {
    if (pos >= text.size()) return false;
    row = Row{};
    row.line = line;
    std::string field;
    while (true) {
        if (pos < text.size() && text[pos] == '"') {
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
                if (c == '\n') ++line;
                field.push_back(c);
            }
            if (!closed) row.unclosed = true;
        }
        // The unquoted part (or what follows a closing quote) up to , or a line end.
        while (pos < text.size() && text[pos] != ',' && text[pos] != '\n') field.push_back(text[pos++]);
        if (!field.empty() && field.back() == '\r' && (pos >= text.size() || text[pos] == '\n'))
            field.pop_back();
        row.fields.push_back(std::move(field));
        field.clear();
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            continue;
        }
        if (pos < text.size()) ++pos, ++line;   // the '\n'
        return true;
    }
}

}  // namespace

std::vector<RawEntry> readCsv(std::string_view text) {
    std::vector<RawEntry> entries;
    readCsv(text, [&](RawEntry&& e) { entries.push_back(std::move(e)); });
    return entries;
}

void readCsv(std::string_view text, const EntrySink& sink) {
    text = withoutBom(text);
    std::size_t pos = 0, line = 1;
    Row row;
    while (nextRow(text, pos, line, row)) {
        // Empty lines hold no entry.
        if (row.fields.size() == 1 && row.fields[0].empty() && !row.unclosed) continue;
        RawEntry e;
        e.line = row.line;
        e.phrase = std::move(row.fields[0]);
        if (row.fields.size() > 1) e.hint = std::move(row.fields[1]);
        // Spreadsheets pad rows with empty columns; those are harmless.
        for (std::size_t k = 2; k < row.fields.size(); ++k) {
            if (!row.fields[k].empty()) e.fault = SkipReason::TooManyColumns;
        }
        if (row.unclosed) e.fault = SkipReason::UnclosedQuote;
        sink(std::move(e));
    }
}

}  // namespace cli
