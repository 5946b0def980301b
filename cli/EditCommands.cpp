// The commands that change one record: add and delete.
#include <cerrno>
#include <cstdlib>

#include "cli/CommandSupport.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"

namespace cli {

int runAdd(const Context& c) {
    LoadedLibrary lib;
    if (!openLibrary(c, Access::Change, lib)) return kExitFailed;
    const library::InsertionPlan plan = library::planInsertion(lib.records);
    Intake intake(takenPhrases(lib, plan), "");
    RawEntry entry;
    entry.phrase = c.args.operands[0];
    if (c.args.operands.size() > 1) entry.hint = c.args.operands[1];
    const SkipReason reason = intake.take(entry);
    if (reason != SkipReason::None) {
        complain(std::string("not added: ") + describe(reason) + ". Nothing was changed.");
        return kExitFailed;
    }
    const std::string plain = library::insertRecords(lib.plain, plan, intake.records());
    if (!storeOrComplain(c, lib, plain)) return kExitFailed;
    const auto added = library::splitLibrary(intake.records()).at(0);
    writeOut("Added: " + latin1ToUtf8(added.phrase) + " / " + latin1ToUtf8(added.hint) + "\n" + libraryState(plain) +
             "Written to " + c.paths.scrambledPuzzlePath + "\n");
    return kExitOk;
}

int runDelete(const Context& c) {
    const std::string& text = c.args.operands[0];
    char* end = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || n == 0) {
        complain("delete: N is a record number as list shows it, from 1");
        return kExitUsage;
    }
    LoadedLibrary lib;
    if (!openLibrary(c, Access::Change, lib)) return kExitFailed;
    if (n > lib.records.size()) {
        complain("delete: there is no record " + text + "; the library holds " + std::to_string(lib.records.size()) +
                 ". Nothing was changed.");
        return kExitFailed;
    }
    const std::size_t index = static_cast<std::size_t>(n - 1);
    const auto& r = lib.records[index];
    const std::string plain = library::eraseRecord(lib.plain, lib.records, index);
    if (!storeOrComplain(c, lib, plain)) return kExitFailed;
    std::string out = "Deleted record " + text + ": " + latin1ToUtf8(r.phrase) + " / " + latin1ToUtf8(r.hint) + "\n";
    if (index == 0 && lib.records.size() > 1) {
        out += "The next record is now the first, which the game never draws.\n";
    } else if (index + 1 == lib.records.size() && index > 0) {
        out += "The record before it is now the last, which the game never draws.\n";
    }
    writeOut(out + libraryState(plain) + "Written to " + c.paths.scrambledPuzzlePath + "\n");
    return kExitOk;
}

}  // namespace cli
