// KDE vocabulary files (kvtml 2): every entry's first translation gives a
// phrase (its text) and a hint (its comment).
#include <algorithm>
#include <cctype>

#include "cli/Importers.h"
#include "cli/Latin1.h"
#include "cli/XmlReader.h"

namespace cli {

namespace {

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The encoding named in the XML declaration, lower case; "utf-8" when none.
std::string declaredEncoding(std::string_view text) {
    if (text.substr(0, 5) != "<?xml") return "utf-8";
    const std::string_view decl = text.substr(0, text.find("?>"));
    const std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos) return "utf-8";
    const std::size_t open = decl.find_first_of("\"'", at);
    if (open == std::string_view::npos) return "utf-8";
    const std::size_t close = decl.find(decl[open], open + 1);
    if (close == std::string_view::npos) return "utf-8";
    return lowered(std::string(decl.substr(open + 1, close - open - 1)));
}

// XML drops no blanks, but a word list's layout should not end up in a puzzle.
std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

bool readKvtml(std::string_view text, std::vector<RawEntry>& entries, std::string& error) {
    text = withoutBom(text);
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos) text.remove_prefix(start);

    const std::string encoding = declaredEncoding(text);
    std::string converted;
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "latin-1") {
        converted = latin1ToUtf8(text);
        text = converted;
    } else if (encoding != "utf-8" && encoding != "us-ascii") {
        error = "the encoding " + encoding + " is not supported (UTF-8 and ISO-8859-1 are)";
        return false;
    }

    XmlReader xml(text);
    // Where we are: the names of the open elements.
    std::vector<std::string> path;
    bool isKvtml = false, sawEntries = false;
    bool inEntry = false, inFirstTranslation = false;
    int translationsSeen = 0;
    std::string* collecting = nullptr;   // the field whose element is open
    RawEntry current;
    bool hasText = false;
    std::vector<RawEntry> found;

    while (true) {
        const XmlReader::Token t = xml.next();
        if (t == XmlReader::Token::Error) {
            error = "not well-formed XML: " + xml.error();
            return false;
        }
        if (t == XmlReader::Token::Finished) break;
        if (t == XmlReader::Token::Start) {
            const std::string& name = xml.name();
            if (path.empty()) isKvtml = name == "kvtml";
            path.push_back(name);
            if (!isKvtml) continue;
            if (path.size() == 2 && name == "entries") sawEntries = true;
            if (path.size() == 3 && path[1] == "entries" && name == "entry") {
                inEntry = true;
                translationsSeen = 0;
                current = RawEntry{};
                current.line = xml.line();
                hasText = false;
            } else if (inEntry && path.size() == 4 && name == "translation") {
                inFirstTranslation = translationsSeen++ == 0;
            } else if (inFirstTranslation && path.size() == 5) {
                if (name == "text") {
                    collecting = &current.phrase;
                    hasText = true;
                } else if (name == "comment") {
                    collecting = &current.hint;
                }
            }
        } else if (t == XmlReader::Token::End) {
            const std::size_t depth = path.size();
            path.pop_back();
            if (!isKvtml) continue;
            if (depth == 5) collecting = nullptr;
            if (depth == 4) inFirstTranslation = false;
            if (depth == 3 && inEntry) {
                inEntry = false;
                current.phrase = trimmed(current.phrase);
                current.hint = trimmed(current.hint);
                if (!hasText) current.phrase.clear();
                found.push_back(std::move(current));
            }
        } else if (t == XmlReader::Token::Text) {
            // Only text directly inside <text> or <comment> counts.
            if (collecting != nullptr && path.size() == 5) *collecting += xml.text();
        }
    }
    if (!isKvtml) {
        error = "not a kvtml file (its root element is not <kvtml>)";
        return false;
    }
    if (!sawEntries) {
        error = "a kvtml file without <entries> (only kvtml version 2 is read)";
        return false;
    }
    entries = std::move(found);
    return true;
}

}  // namespace cli
