// import: word lists into the library, all of them in one write or none.
#include <cstdint>

#include "cli/CommandSupport.h"
#include "cli/EntryReader.h"
#include "cli/InputFile.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"
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
    std::uint64_t maxBytes = 0;
    if (!inputLimit(c, maxBytes)) return kExitUsage;
    const bool verbose = c.args.has("--verbose");
    const bool dryRun = c.args.has("--dry-run");

    LoadedLibrary lib;
    if (!openLibrary(c, dryRun ? Access::Read : Access::Change, lib)) return kExitFailed;
    const library::InsertionPlan plan = library::planInsertion(lib.records);
    Intake intake(takenPhrases(lib, plan), hint);

    std::string report;
    for (const std::string& name : c.args.operands) {
        std::string error;
        InputFile in;
        Format format = Format::Txt;
        std::size_t entries = 0;
        const std::size_t before = intake.added();
        const EntrySink take = [&](RawEntry&& e) {
            ++entries;
            const SkipReason reason = intake.take(e);
            if (verbose && reason != SkipReason::None) {
                report += name + ":" + std::to_string(e.line) + ": skipped, " + describe(reason) + ": " +
                          excerpt(e.phrase) + "\n";
            }
        };
        if (!in.open(name, maxBytes, error) || !readEntries(in, given, take, format, error)) {
            complain(error + ". Nothing was imported.");
            return kExitFailed;
        }
        report += name + " (" + formatName(format) + "): " + std::to_string(entries) + " entries, " +
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

    if (dryRun || intake.added() == 0) {
        if (dryRun) report += "Nothing was written (--dry-run).\n";
        writeOut(report + libraryState(lib.plain));
        return kExitOk;
    }
    // A big import holds at most two copies of the library at a time.
    std::string plain;
    {
        const std::string records = intake.takeRecords();
        plain = library::insertRecords(lib.plain, plan, records);
    }
    lib = LoadedLibrary{};
    if (!storeOrComplain(c, plain)) {
        writeOut(report);
        return kExitFailed;
    }
    writeOut(report + libraryState(plain));
    return kExitOk;
}

}  // namespace cli
