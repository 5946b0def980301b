// The commands that only read the library: list, export, check.
#include <cstdio>

#include "cli/Checker.h"
#include "cli/CommandSupport.h"
#include "cli/Exporter.h"
#include "cli/Latin1.h"
#include "cli/ShownText.h"
#include "library/PuzzleRules.h"

namespace cli {

namespace {

bool contains(const std::string& text, const std::string& key) {
    return library::phraseKey(text).find(key) != std::string::npos;
}

}  // namespace

int runList(const Context& c) {
    std::string filter;
    if (c.args.has("--grep")) {
        std::string latin1;
        if (utf8ToLatin1(c.args.value("--grep"), latin1) != Conversion::Done) {
            complain("--grep: the text holds characters no record can hold");
            return kExitUsage;
        }
        filter = library::phraseKey(latin1);
    }
    LoadedLibrary lib;
    if (!openLibrary(c, Access::Read, lib)) return kExitFailed;

    const std::size_t width = std::to_string(lib.records.size()).size();
    struct Row {
        std::size_t number;
        ShownText phrase, hint;
    };
    std::vector<Row> rows;
    // The phrase column is as wide as the longest phrase the game stores, or
    // as the widest phrase listed when a hand-edited library holds a longer one.
    std::size_t column = library::kMaxPhraseLength;
    for (std::size_t i = 0; i < lib.records.size(); ++i) {
        const auto& r = lib.records[i];
        if (!filter.empty() && !contains(r.phrase, filter) && !contains(r.hint, filter)) continue;
        rows.push_back({i + 1, shownText(r.phrase), shownText(r.hint)});
        if (rows.back().phrase.width > column) column = rows.back().phrase.width;
    }
    std::string out;
    for (const Row& row : rows) {
        const std::string number = std::to_string(row.number);
        out += std::string(width - number.size(), ' ') + number + "  " + paddedTo(row.phrase, column) + "  " +
               row.hint.utf8 + "\n";
    }
    if (!writeOut(out)) {
        complain("cannot write to standard output");
        return kExitFailed;
    }
    return kExitOk;
}

int runExport(const Context& c) {
    Format format = Format::Txt;
    if (c.args.has("--format")) {
        const auto f = formatNamed(c.args.value("--format"));
        if (!f || *f == Format::Kvtml) {
            complain("export --format: txt or csv");
            return kExitUsage;
        }
        format = *f;
    }
    LoadedLibrary lib;
    if (!openLibrary(c, Access::Read, lib)) return kExitFailed;
    if (format == Format::Txt) {
        std::size_t broken = 0;
        for (const auto& r : lib.records) broken += (r.phrase + r.hint).find_first_of("\r\n") != std::string::npos;
        if (broken > 0) {
            complain("note: " + std::to_string(broken) +
                     " record(s) hold a line end, which a txt list cannot keep; --format csv keeps them");
        }
    }
    if (!writeOut(exportRecords(lib.records, format))) {
        complain("cannot write to standard output");
        return kExitFailed;
    }
    return kExitOk;
}

int runCheck(const Context& c) {
    LoadedLibrary lib;
    if (!openLibrary(c, Access::Read, lib)) return kExitFailed;
    const auto findings = checkLibrary(lib.plain, lib.records);
    std::string out;
    for (const auto& f : findings) {
        if (f.record == 0) {
            out += "library: " + f.text + "\n";
        } else {
            out += "record " + std::to_string(f.record) + " (" + shownText(lib.records[f.record - 1].phrase).utf8 +
                   "): " + f.text + "\n";
        }
    }
    out += libraryState(lib.plain);
    out += findings.empty() ? "No problems found.\n" : std::to_string(findings.size()) + " problem(s) found.\n";
    if (!writeOut(out)) {
        complain("cannot write to standard output");
        return kExitFailed;
    }
    return findings.empty() ? kExitOk : kExitProblems;
}

}  // namespace cli
