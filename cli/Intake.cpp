#include "cli/Intake.h"

#include "cli/Latin1.h"
#include "library/PuzzleRecord.h"
#include "library/PuzzleRules.h"

namespace cli {

namespace {

SkipReason fromConversion(Conversion c) {
    return c == Conversion::NotUtf8 ? SkipReason::NotUtf8 : SkipReason::OutsideLatin1;
}

// A text far too long for its field: no need to convert it to say so.
bool clearlyTooLong(const std::string& utf8, std::size_t limit) { return utf8.size() > 4 * limit; }

}  // namespace

Intake::Intake(const std::vector<std::string>& existing, std::string defaultHint)
    : defaultHint_(std::move(defaultHint)) {
    for (const auto& phrase : existing) {
        const std::size_t at = existing_.size();
        existing_ += phrase.substr(0, phrase.find(';'));
        existing_ += ';';
        taken_.claim(std::string_view(existing_).substr(at, existing_.size() - 1 - at), 0, at);
    }
}

std::string Intake::takeRecords() {
    taken_ = PhraseIndex({&existing_, &records_});
    existing_ = std::string();
    return std::move(records_);
}

std::size_t Intake::skippedTotal() const {
    std::size_t total = 0;
    for (std::size_t k = 1; k < kSkipReasonCount; ++k) total += skipped_[k];
    return total;
}

SkipReason Intake::take(const RawEntry& entry) {
    const SkipReason reason = judge(entry);
    if (reason != SkipReason::None) ++skipped_[static_cast<std::size_t>(reason)];
    return reason;
}

SkipReason Intake::judge(const RawEntry& entry) {
    if (entry.fault != SkipReason::None) return entry.fault;
    if (clearlyTooLong(entry.phrase, library::kMaxPhraseLength)) return SkipReason::PhraseTooLong;
    if (clearlyTooLong(entry.hint, library::kMaxHintLength)) return SkipReason::HintTooLong;

    std::string phrase, hint;
    const Conversion p = utf8ToLatin1(entry.phrase, phrase);
    if (p != Conversion::Done) return fromConversion(p);
    const Conversion h = utf8ToLatin1(entry.hint, hint);
    if (h != Conversion::Done) return fromConversion(h);
    if (hint.empty()) hint = defaultHint_;

    const library::PuzzleFault fault = library::checkPuzzle(phrase, hint);
    if (fault != library::PuzzleFault::None) return fromFault(fault);
    if (!taken_.claim(phrase, 1, records_.size())) return SkipReason::Duplicate;

    records_ += library::buildRecord(phrase, hint);
    ++added_;
    return SkipReason::None;
}

}  // namespace cli
