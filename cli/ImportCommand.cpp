// import: word lists into the library, all of them in one write or none.
#include <cstdint>

#include "cli/CommandSupport.h"
#include "cli/EntryReader.h"
#include "cli/InputFile.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"
#include "cli/WordForms.h"
#include "library/AtomicFile.h"
#include "library/PuzzleRules.h"

namespace cli {

namespace {

// The most an input may hold: 64 MiB, or what --max-size says.
bool inputLimit(const Context& c, std::uint64_t& bytes) {
    bytes = kDefaultMaxInputBytes;
    if (!c.args.has("--max-size")) return true;
    if (parseByteSize(c.args.value("--max-size"), bytes)) return true;
    complain("import --max-size: a size in bytes, or with K, M or G after it (such as 200M)");
    return false;
}

struct SeparatorName {
    const char* name;
    char separator;
};
constexpr SeparatorName kSeparatorNames[] = {
    {",", ','}, {"comma", ','}, {";", ';'}, {"semicolon", ';'}, {"tab", '\t'}, {"\t", '\t'}, {"\\t", '\t'},
};

bool readingRules(const Context& c, ReadingRules& rules) {
    if (c.args.has("--format")) {
        rules.format = formatNamed(c.args.value("--format"));
        if (!rules.format) {
            complain("import --format: txt, csv or kvtml");
            return false;
        }
    }
    if (c.args.has("--separator")) {
        for (const auto& s : kSeparatorNames) {
            if (c.args.value("--separator") == s.name) rules.csv.separator = s.separator;
        }
        if (rules.csv.separator == 0) {
            complain("import --separator: ',', ';' or tab");
            return false;
        }
    }
    if (c.args.has("--header")) {
        const std::string v = c.args.value("--header");
        rules.csv.header = v == "yes" ? HeaderRule::Yes : v == "no" ? HeaderRule::No : HeaderRule::Auto;
        if (v != "yes" && v != "no" && v != "auto") {
            complain("import --header: yes (the first row is a header), no, or auto");
            return false;
        }
    }
    return true;
}

// What an import does to entries besides the add window's rules.
struct EntryRules {
    bool shortenHints = false;
    bool keepPossessives = false;
};

bool entryRules(const Context& c, EntryRules& rules) {
    rules.keepPossessives = c.args.has("--keep-possessives");
    if (c.args.has("--long-hints")) {
        const std::string v = c.args.value("--long-hints");
        if (v != "skip" && v != "shorten") {
            complain("import --long-hints: skip (the default) or shorten");
            return false;
        }
        rules.shortenHints = v == "shorten";
    }
    return true;
}

// The hint for entries without one, checked as a hint the add window takes.
bool defaultHint(const Context& c, std::string& hint) {
    if (!c.args.has("--hint")) return true;
    if (utf8ToLatin1(c.args.value("--hint"), hint) != Conversion::Done ||
        library::checkPuzzle("ab", hint) != library::PuzzleFault::None) {
        complain("--hint: at most 34 characters of Latin-1, without \";\", \":\" or control characters");
        return false;
    }
    return true;
}

std::string excerpt(const std::string& utf8) {
    std::string out;
    for (char c : utf8.substr(0, 60)) out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    return utf8.size() > 60 ? out + "..." : out;
}

// The reason most entries were skipped for.
SkipReason commonest(const Intake& intake) {
    SkipReason most = SkipReason::None;
    for (std::size_t k = 1; k < kSkipReasonCount; ++k) {
        const auto reason = static_cast<SkipReason>(k);
        if (intake.skipped(reason) > (most == SkipReason::None ? 0 : intake.skipped(most))) most = reason;
    }
    return most;
}

}  // namespace

int runImport(const Context& c) {
    ReadingRules reading;
    EntryRules rules;
    if (!readingRules(c, reading) || !entryRules(c, rules)) return kExitUsage;
    std::string hint;
    if (!defaultHint(c, hint)) return kExitUsage;
    std::uint64_t maxBytes = 0;
    if (!inputLimit(c, maxBytes)) return kExitUsage;
    const bool verbose = c.args.has("--verbose");
    const bool dryRun = c.args.has("--dry-run");

    LoadedLibrary lib;
    if (!openLibrary(c, dryRun ? Access::Preview : Access::Change, lib)) return kExitFailed;
    const library::InsertionPlan plan = library::planInsertion(lib.records);
    Intake intake(takenPhrases(lib, plan), hint);

    std::string report;
    std::size_t entriesRead = 0, shortened = 0;
    for (const std::string& name : c.args.operands) {
        std::string error, note;
        InputFile in;
        Format format = Format::Txt;
        std::size_t entries = 0;
        const std::size_t before = intake.added();
        const EntrySink take = [&](RawEntry&& e) {
            ++entries;
            if (e.fault == SkipReason::None && e.hint.empty() && !rules.keepPossessives && isPossessive(e.phrase))
                e.fault = SkipReason::Possessive;
            if (rules.shortenHints && characterCount(e.hint) > library::kMaxHintLength) {
                e.hint = shortenedHint(e.hint, library::kMaxHintLength);
                ++shortened;
            }
            const SkipReason reason = intake.take(e);
            if (verbose && reason != SkipReason::None) {
                report += name + ":" + std::to_string(e.line) + ": skipped, " + describe(reason) + ": " +
                          excerpt(e.phrase) + "\n";
            }
        };
        if (!in.open(name, maxBytes, error) || !readEntries(in, reading, take, format, note, error)) {
            complain(error + ". Nothing was imported.");
            return kExitFailed;
        }
        entriesRead += entries;
        report += name + " (" + formatName(format) + (note.empty() ? "" : ", " + note) +
                  "): " + std::to_string(entries) + " entries, " + std::to_string(intake.added() - before) +
                  " new puzzles\n";
    }

    const std::string& target = c.paths.scrambledPuzzlePath;
    const std::size_t added = intake.added();
    if (added == 0) {
        report += "Added no puzzles; skipped " + std::to_string(intake.skippedTotal());
    } else {
        report += (dryRun ? "Would add " : "Added ") + std::to_string(added) + " puzzle" + (added == 1 ? "" : "s") +
                  " to " + target + "; skipped " + std::to_string(intake.skippedTotal());
    }
    report += intake.skippedTotal() > 0 ? ":\n" : ".\n";
    for (std::size_t k = 1; k < kSkipReasonCount; ++k) {
        const auto reason = static_cast<SkipReason>(k);
        const std::size_t n = intake.skipped(reason);
        if (n > 0) {
            std::string count = std::to_string(n);
            if (count.size() < 8) count.insert(0, 8 - count.size(), ' ');
            report += count + "  " + describe(reason) + "\n";
        }
    }
    if (shortened > 0) report += std::to_string(shortened) + " hint(s) cut to fit 34 characters (--long-hints shorten).\n";
    // The options that would have kept what the defaults skipped.
    for (SkipReason optional : {SkipReason::HintTooLong, SkipReason::Possessive}) {
        if (added > 0 && intake.skipped(optional) > 0) report += std::string("Note: ") + advice(optional) + ".\n";
    }

    if (added == 0) {
        writeOut(report + (lib.folderMissing ? "Nothing was written; no folder was made.\n"
                                             : "Nothing was written to " + target + ".\n"));
        if (entriesRead == 0) return kExitOk;   // an empty list: nothing to add, nothing wrong
        const char* why = advice(commonest(intake));
        complain("no puzzle added from " + std::to_string(entriesRead) + " entries" +
                 (*why != '\0' ? std::string("; ") + why : std::string()));
        return kExitFailed;
    }
    if (dryRun) {
        report += "Nothing was written (--dry-run).\n";
        writeOut(report + libraryState(lib.plain));
        return kExitOk;
    }
    // A big import holds at most two copies of the library at a time: the
    // records read and the list's are let go before the new text is stored.
    std::string plain;
    {
        const std::string records = intake.takeRecords();
        plain = library::insertRecords(lib.plain, plan, records);
    }
    lib.plain = std::string();
    lib.records = std::vector<library::StoredRecord>();
    if (!storeOrComplain(c, lib, plain)) {
        writeOut(report);
        return kExitFailed;
    }
    writeOut(report + libraryState(plain));
    return kExitOk;
}

}  // namespace cli
