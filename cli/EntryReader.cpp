#include "cli/EntryReader.h"

#include "cli/HeaderRow.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

// As much as the format guess looks at.
constexpr std::size_t kHeadBytes = 64 * 1024;

// Lines of a text list as the pieces come, a line cut between two pieces
// made whole first. A line ends at LF, CR LF or a CR alone (old Mac files),
// a CR LF cut between two pieces included.
class TxtLines {
public:
    explicit TxtLines(const EntrySink& sink) : sink_(sink) {}

    void add(std::string_view piece) {
        std::size_t start = 0, end;
        if (afterCr_ && !piece.empty()) {
            if (piece.front() == '\n') start = 1;
            afterCr_ = false;
        }
        while ((end = piece.find_first_of("\r\n", start)) != std::string_view::npos) {
            if (carry_.empty()) {
                line(piece.substr(start, end - start));
            } else {
                carry_.append(piece.substr(start, end - start));
                line(carry_);
                carry_.clear();
            }
            start = end + 1;
            if (piece[end] == '\r') {
                if (start == piece.size()) {
                    afterCr_ = true;   // an LF may start the next piece
                } else if (piece[start] == '\n') {
                    ++start;
                }
            }
        }
        carry_.append(piece.substr(start));
    }

    void finish() {
        if (!carry_.empty()) line(carry_);
        carry_.clear();
    }

private:
    void line(std::string_view text) {
        RawEntry e;
        if (readTxtLine(++number_, text, e)) sink_(std::move(e));
    }

    const EntrySink& sink_;
    std::string carry_;
    std::size_t number_ = 0;
    bool afterCr_ = false;
};

bool endsWithCsv(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".csv";
}

}  // namespace

bool readEntries(InputFile& in, const ReadingRules& rules, const EntrySink& sink, Format& format,
                 std::string& note, std::string& error) {
    note.clear();
    std::string head, piece;
    bool more = true;
    while (head.size() < kHeadBytes) {
        if (!in.read(piece, error)) {
            more = false;
            break;
        }
        head += piece;
    }
    if (in.failed()) return false;
    if (rules.format) {
        format = *rules.format;
    } else if (rules.csv.separator != 0 || endsWithCsv(in.name())) {
        format = Format::Csv;   // a spreadsheet's file, whatever separator it shows
    } else {
        format = detectFormat(head);
    }

    // Reads the rest, handing each piece to each; false on a failure.
    auto rest = [&](auto each) {
        while (more) {
            if (!in.read(piece, error)) {
                more = false;
                break;
            }
            if (!each(std::string_view(piece))) return false;
        }
        return !in.failed();
    };

    switch (format) {
        case Format::Txt: {
            // "Phrase;Hint" on top of a list: a header row, not a puzzle.
            const HeaderRule header = rules.csv.header;
            bool first = true;
            const EntrySink firstChecked = [&](RawEntry&& e) {
                if (first) {
                    first = false;
                    if (header == HeaderRule::Yes ||
                        (header == HeaderRule::Auto && !e.phrase.empty() && !e.hint.empty() && looksLikeHeader({e.phrase, e.hint}))) {
                        note = "header row skipped";
                        return;
                    }
                }
                sink(std::move(e));
            };
            TxtLines lines(header == HeaderRule::No ? sink : firstChecked);
            lines.add(withoutBom(head));
            head = std::string();
            if (!rest([&](std::string_view p) { return lines.add(p), true; })) return false;
            if (!in.wasText(error)) return false;
            lines.finish();
            return true;
        }
        case Format::Csv: {
            // Quoted fields may run across lines, so the text is read whole (within the limit).
            if (!rest([&](std::string_view p) { return head.append(p), true; })) return false;
            if (!in.wasText(error)) return false;
            const CsvRead read = readCsv(head, rules.csv, sink);
            note = separatorName(read.separator);
            if (read.headerSkipped) note += ", header row skipped";
            return true;
        }
        case Format::Kvtml: {
            KvtmlReader reader(sink);
            std::string why;
            const bool whole = !more;
            bool ok = reader.feed(head, whole, why) &&
                      rest([&](std::string_view p) { return reader.feed(p, false, why); });
            if (ok && !whole) ok = reader.feed({}, true, why);
            if (in.failed()) return false;
            if (!ok) {
                error = in.name() + ": " + why;
                return false;
            }
            return in.wasText(error);
        }
    }
    return false;
}

bool readEntries(InputFile& in, const std::optional<Format>& given, const EntrySink& sink, Format& format,
                 std::string& error) {
    ReadingRules rules;
    rules.format = given;
    std::string note;
    return readEntries(in, rules, sink, format, note, error);
}

}  // namespace cli
