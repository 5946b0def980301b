// Why an imported entry did not become a puzzle.
#pragma once

#include <cstddef>

#include "library/PuzzleRules.h"

namespace cli {

enum class SkipReason {
    None,
    Duplicate,
    NotUtf8,
    OutsideLatin1,
    PhraseTooShort,
    PhraseTooLong,
    HintTooLong,
    ControlCharacter,
    PhraseHoldsSemicolon,
    HintHoldsTerminator,
    NoLetterToGuess,
    Possessive,
    TooManyColumns,
    UnclosedQuote,
};

inline constexpr std::size_t kSkipReasonCount = static_cast<std::size_t>(SkipReason::UnclosedQuote) + 1;

// A short text for the report: "phrase longer than 38 characters".
const char* describe(SkipReason reason);

// What a player may do when most entries of a file are skipped for this
// reason: the likely cause and the option that helps; "" when there is none.
const char* advice(SkipReason reason);

SkipReason fromFault(library::PuzzleFault fault);

}  // namespace cli
