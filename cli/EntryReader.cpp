#include "cli/EntryReader.h"

#include "cli/Latin1.h"

namespace cli {

namespace {

// As much as the format guess looks at.
constexpr std::size_t kHeadBytes = 64 * 1024;

// Lines of a text list as the pieces come, a line cut between two pieces
// made whole first.
class TxtLines {
public:
    explicit TxtLines(const EntrySink& sink) : sink_(sink) {}

    void add(std::string_view piece) {
        std::size_t start = 0, end;
        while ((end = piece.find('\n', start)) != std::string_view::npos) {
            if (carry_.empty()) {
                line(piece.substr(start, end - start));
            } else {
                carry_.append(piece.substr(start, end - start));
                line(carry_);
                carry_.clear();
            }
            start = end + 1;
        }
        carry_.append(piece.substr(start));
    }

    void finish() {
        if (!carry_.empty()) line(carry_);
    }

private:
    void line(std::string_view text) {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        RawEntry e;
        if (readTxtLine(++number_, text, e)) sink_(std::move(e));
    }

    const EntrySink& sink_;
    std::string carry_;
    std::size_t number_ = 0;
};

}  // namespace

bool readEntries(InputFile& in, const std::optional<Format>& given, const EntrySink& sink, Format& format,
                 std::string& error) {
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
    format = given ? *given : detectFormat(head);

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
            TxtLines lines(sink);
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
            readCsv(head, sink);
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

}  // namespace cli
