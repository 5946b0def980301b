#include "cli/Exporter.h"

#include "cli/HeaderRow.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

// A field is quoted when the reader or the format guess would take it
// otherwise: a comma, quote or line end in it, blanks at its edges, a "#"
// (a comment to the guess) or "<" (kvtml to the guess) in front; and the
// phrase of a row holding ";" or TAB, which the guess would take for a text
// list's were the row not to start with a quote.
std::string csvField(const std::string& utf8, bool quote = false) {
    const bool edgeBlank = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ');
    const bool guessable = !utf8.empty() && (utf8.front() == '#' || utf8.front() == '<');
    if (utf8.find_first_of(",\"\r\n") == std::string::npos && !edgeBlank && !guessable && !quote) return utf8;
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// A phrase that would be misread at a line's start (a comment, a CSV quote,
// the start of kvtml, blanks before one) gets a backslash in front, which the
// text reader takes away.
std::string txtPhrase(const std::string& utf8) {
    return !utf8.empty() && isTxtEscaped(utf8.front()) ? "\\" + utf8 : utf8;
}

// Whether import, finding the first record's line on top of a list, would
// take it for a header row ("word;clue") and drop it: a txt line only when
// it holds a hint, a csv row also when it holds a phrase alone.
bool readAsHeader(const std::string& phrase, const std::string& hint, Format format) {
    if (format == Format::Txt && hint.empty()) return false;
    return looksLikeHeader({phrase, hint});
}

}  // namespace

std::string exportRecords(const std::vector<library::StoredRecord>& records, Format format) {
    std::string out;
    // Above a first record import would drop as a header, a header row of
    // its own, which import drops in its place.
    if (!records.empty() &&
        readAsHeader(latin1ToUtf8(records.front().phrase), latin1ToUtf8(records.front().hint), format)) {
        out += format == Format::Csv ? "Phrase,Hint\r\n" : "Phrase;Hint\n";
    }
    for (const auto& r : records) {
        const std::string phrase = latin1ToUtf8(r.phrase);
        const std::string hint = latin1ToUtf8(r.hint);
        if (format == Format::Csv) {
            const bool textLike = (phrase + hint).find_first_of(";\t") != std::string::npos;
            out += csvField(phrase, textLike) + "," + csvField(hint) + "\r\n";
        } else {
            out += txtPhrase(phrase) + ";" + hint + "\n";
        }
    }
    return out;
}

}  // namespace cli
