// Turning raw entries into stored records: UTF-8 to the game's 8-bit text,
// the rules of a storable puzzle, and no phrase twice.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "cli/Importers.h"
#include "cli/PhraseIndex.h"
#include "cli/SkipReason.h"
#include "library/PuzzleLibrary.h"

namespace cli {

class Intake {
public:
    // existing: the library's phrases (8-bit text), which count as taken.
    // defaultHint: 8-bit text for entries without a hint ("" for the game's own).
    Intake(const std::vector<std::string>& existing, std::string defaultHint);
    Intake(const Intake&) = delete;   // the index points into this one's texts
    Intake& operator=(const Intake&) = delete;

    // Takes one entry: SkipReason::None when it became a record.
    SkipReason take(const RawEntry& entry);

    // The new records, in stored form, back to back.
    const std::string& records() const { return records_; }
    // Hands the records over and lets the rest of the intake's memory go.
    std::string takeRecords();
    std::size_t added() const { return added_; }
    std::size_t skipped(SkipReason reason) const { return skipped_[static_cast<std::size_t>(reason)]; }
    std::size_t skippedTotal() const;

private:
    SkipReason judge(const RawEntry& entry);

    std::string existing_;   // the library's phrases, each closed by ";"
    std::string records_;
    PhraseIndex taken_{{&existing_, &records_}};
    std::string defaultHint_;
    std::size_t added_ = 0;
    std::array<std::size_t, kSkipReasonCount> skipped_{};
};

}  // namespace cli
