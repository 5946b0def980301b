// Plain text word lists, and telling the formats apart.
#include <algorithm>

#include "cli/Importers.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

struct FormatName {
    Format format;
    const char* name;
};
constexpr FormatName kFormatNames[] = {{Format::Txt, "txt"}, {Format::Csv, "csv"}, {Format::Kvtml, "kvtml"}};

// Calls each(lineNumber, line) for every line, without its line end: LF,
// CR LF, or a CR alone as old Mac files have it.
template <class Each>
void forEachLine(std::string_view text, Each each) {
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        text.remove_prefix(next);
        each(++number, line);
    }
}

}  // namespace

std::optional<Format> formatNamed(std::string_view name) {
    for (const auto& f : kFormatNames) {
        if (name == f.name) return f.format;
    }
    return std::nullopt;
}

const char* formatName(Format format) {
    for (const auto& f : kFormatNames) {
        if (f.format == format) return f.name;
    }
    return "?";
}

bool looksBinary(std::string_view text) { return text.find('\0') != std::string_view::npos; }

Format detectFormat(std::string_view text) {
    text = withoutBom(text);
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos && text.substr(start, 1) == "<") return Format::Kvtml;

    // The first few lines that hold anything decide.
    bool quoted = false, comma = false, separator = false;
    int looked = 0;
    forEachLine(text.substr(0, 64 * 1024), [&](std::size_t, std::string_view line) {
        if (looked >= 20 || line.empty() || line.front() == '#') return;
        ++looked;
        if (line.front() == '"') quoted = true;
        if (line.find(',') != std::string_view::npos) comma = true;
        if (line.find_first_of(";\t") != std::string_view::npos) separator = true;
    });
    if (quoted || (comma && !separator)) return Format::Csv;
    return Format::Txt;
}

bool isTxtEscaped(char c) { return c == '#' || c == '"' || c == '<' || c == '\\' || c == ' ' || c == '\t'; }

bool readTxtLine(std::size_t number, std::string_view line, RawEntry& e) {
    if (line.empty() || line.front() == '#') return false;
    if (line.size() > 1 && line[0] == '\\' && isTxtEscaped(line[1])) line.remove_prefix(1);
    // A phrase never holds ";", so the first one ends it; else a TAB does.
    std::size_t split = line.find(';');
    if (split == std::string_view::npos) split = line.find('\t');
    e = RawEntry{};
    e.line = number;
    e.phrase = std::string(line.substr(0, split));
    if (split != std::string_view::npos) e.hint = std::string(line.substr(split + 1));
    return true;
}

std::vector<RawEntry> readTxt(std::string_view text) {
    std::vector<RawEntry> entries;
    forEachLine(withoutBom(text), [&](std::size_t number, std::string_view line) {
        RawEntry e;
        if (readTxtLine(number, line, e)) entries.push_back(std::move(e));
    });
    return entries;
}

}  // namespace cli
