#include "fuzz/ImportChecks.h"

#include "cli/EntryReader.h"
#include "cli/InputFile.h"
#include "cli/Intake.h"
#include "fuzz/FuzzSupport.h"
#include "library/PuzzleLibrary.h"
#include "library/PuzzleRules.h"

#include <set>

namespace fuzz {

std::string checkedIntake(const std::vector<cli::RawEntry>& entries, const std::string& input) {
    cli::Intake intake({}, "");
    for (const auto& e : entries) intake.take(e);
    const std::string records = intake.records();
    const auto split = library::splitLibrary(records);
    FUZZ_CHECK(split.size() == intake.added(), show(input));
    FUZZ_CHECK(intake.added() + intake.skippedTotal() == entries.size(), show(input));
    std::set<std::string> keys;
    for (const auto& r : split) {
        FUZZ_CHECK(r.closedPhrase && r.closedHint, show(input));
        FUZZ_CHECK(library::checkPuzzle(r.phrase, r.hint) == library::PuzzleFault::None, show(r.phrase + ";" + r.hint));
        FUZZ_CHECK(keys.insert(library::phraseKey(r.phrase)).second, "twice: " + show(r.phrase));
    }
    return records;
}

std::optional<std::vector<cli::RawEntry>> importedEntries(const std::string& bytes, std::optional<cli::Format> given,
                                                          cli::Format& format, std::string& error) {
    writeFile("list", bytes);
    cli::InputFile in;
    std::vector<cli::RawEntry> entries;
    if (!in.open(pathOf("list"), cli::kDefaultMaxInputBytes, error)) return std::nullopt;
    if (!cli::readEntries(in, given, [&](cli::RawEntry&& e) { entries.push_back(std::move(e)); }, format, error))
        return std::nullopt;
    return entries;
}

void checkSameEntries(const std::vector<cli::RawEntry>& a, const std::vector<cli::RawEntry>& b,
                      const std::string& input) {
    FUZZ_CHECK(a.size() == b.size(), show(input));
    for (std::size_t k = 0; k < a.size(); ++k) {
        FUZZ_CHECK(a[k].phrase == b[k].phrase && a[k].hint == b[k].hint && a[k].line == b[k].line &&
                       a[k].fault == b[k].fault,
                   "entry " + std::to_string(k) + " of " + show(input));
    }
}

}  // namespace fuzz
