// The commands that only read the library: list, export, check.
#include <cstdio>

#include "cli/Checker.h"
#include "cli/CommandSupport.h"
#include "cli/Exporter.h"
#include "cli/Latin1.h"
#include "library/PuzzleRules.h"

namespace cli {

namespace {

// Latin-1 text shown in a column of width characters.
std::string padded(const std::string& latin1, std::size_t width) {
    std::string out = latin1ToUtf8(latin1);
    if (latin1.size() < width) out.append(width - latin1.size(), ' ');
    return out;
}

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
    std::string out;
    for (std::size_t i = 0; i < lib.records.size(); ++i) {
        const auto& r = lib.records[i];
        if (!filter.empty() && !contains(r.phrase, filter) && !contains(r.hint, filter)) continue;
        std::string number = std::to_string(i + 1);
        out += std::string(width - number.size(), ' ') + number + "  " +
               padded(r.phrase, library::kMaxPhraseLength) + "  " + latin1ToUtf8(r.hint) + "\n";
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
            out += "record " + std::to_string(f.record) + " (" + latin1ToUtf8(lib.records[f.record - 1].phrase) +
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
