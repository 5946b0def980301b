#include "cli/Exporter.h"

#include "cli/Latin1.h"

namespace cli {

namespace {

std::string csvField(const std::string& utf8) {
    const bool edgeBlank = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ');
    if (utf8.find_first_of(",\"\r\n") == std::string::npos && !edgeBlank) return utf8;
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::string exportRecords(const std::vector<library::StoredRecord>& records, Format format) {
    std::string out;
    for (const auto& r : records) {
        const std::string phrase = latin1ToUtf8(r.phrase);
        const std::string hint = latin1ToUtf8(r.hint);
        if (format == Format::Csv) {
            out += csvField(phrase) + "," + csvField(hint) + "\r\n";
        } else {
            out += phrase + ";" + hint + "\n";
        }
    }
    return out;
}

}  // namespace cli
