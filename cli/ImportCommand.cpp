// import: word lists into the library, all of them in one write or none.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>

#include "cli/CommandSupport.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"
#include "library/AtomicFile.h"
#include "library/PuzzleRules.h"

namespace cli {

namespace {

bool readInput(const std::string& name, std::string& text, std::string& error) {
    if (name == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            error = "standard input cannot be read";
            return false;
        }
        return true;
    }
    // Named pipes and devices (/dev/stdin, a process substitution) are read too.
    std::error_code ec;
    const auto status = std::filesystem::status(name, ec);
    if (ec || !std::filesystem::exists(status)) {
        error = name + ": no such file";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error = name + ": a folder, not a word list";
        return false;
    }
    if (!library::readWholeFile(name, text)) {
        error = name + ": cannot be read";
        return false;
    }
    return true;
}

// The entries of one file, in the format given or found in it.
bool readEntries(const std::string& name, const std::string& text, const std::optional<Format>& given,
                 std::vector<RawEntry>& entries, Format& format, std::string& error) {
    if (looksBinary(text)) {
        error = name + ": binary data, not a word list";
        return false;
    }
    format = given ? *given : detectFormat(text);
    switch (format) {
        case Format::Txt: entries = readTxt(text); return true;
        case Format::Csv: entries = readCsv(text); return true;
        case Format::Kvtml:
            if (readKvtml(text, entries, error)) return true;
            error = name + ": " + error;
            return false;
    }
    return false;
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

}  // namespace

int runImport(const Context& c) {
    std::optional<Format> given;
    if (c.args.has("--format")) {
        given = formatNamed(c.args.value("--format"));
        if (!given) {
            complain("import --format: txt, csv or kvtml");
            return kExitUsage;
        }
    }
    std::string hint;
    if (!defaultHint(c, hint)) return kExitUsage;
    const bool verbose = c.args.has("--verbose");
    const bool dryRun = c.args.has("--dry-run");

    LoadedLibrary lib;
    if (!openLibrary(c, dryRun ? Access::Read : Access::Change, lib)) return kExitFailed;
    const library::InsertionPlan plan = library::planInsertion(lib.records);
    Intake intake(takenPhrases(lib, plan), hint);

    std::string report;
    for (const std::string& name : c.args.operands) {
        std::string text, error;
        std::vector<RawEntry> entries;
        Format format = Format::Txt;
        if (!readInput(name, text, error) || !readEntries(name, text, given, entries, format, error)) {
            complain(error + ". Nothing was imported.");
            return kExitFailed;
        }
        text = std::string();   // a big file need not stay in memory twice
        const std::size_t before = intake.added();
        for (const RawEntry& e : entries) {
            const SkipReason reason = intake.take(e);
            if (verbose && reason != SkipReason::None) {
                report += name + ":" + std::to_string(e.line) + ": skipped, " + describe(reason) + ": " +
                          excerpt(e.phrase) + "\n";
            }
        }
        report += name + " (" + formatName(format) + "): " + std::to_string(entries.size()) + " entries, " +
                  std::to_string(intake.added() - before) + " new puzzles\n";
    }

    report += (dryRun ? "Would add " : "Added ") + std::to_string(intake.added()) + " puzzle" +
              (intake.added() == 1 ? "" : "s") + "; skipped " + std::to_string(intake.skippedTotal()) +
              (intake.skippedTotal() > 0 ? ":\n" : ".\n");
    for (std::size_t k = 1; k < kSkipReasonCount; ++k) {
        const auto reason = static_cast<SkipReason>(k);
        const std::size_t n = intake.skipped(reason);
        if (n > 0) {
            std::string count = std::to_string(n);
            if (count.size() < 8) count.insert(0, 8 - count.size(), ' ');
            report += count + "  " + describe(reason) + "\n";
        }
    }

    std::string plain = lib.plain;
    if (intake.added() > 0) {
        plain = library::insertRecords(lib.plain, plan, intake.records());
        if (!dryRun && !storeOrComplain(c, plain)) {
            writeOut(report);
            return kExitFailed;
        }
    }
    if (dryRun) report += "Nothing was written (--dry-run).\n";
    writeOut(report + libraryState(dryRun ? lib.plain : plain));
    return kExitOk;
}

}  // namespace cli
