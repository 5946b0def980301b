#include "cli/SkipReason.h"

namespace cli {

const char* describe(SkipReason reason) {
    switch (reason) {
        case SkipReason::None: return "added";
        case SkipReason::Duplicate: return "already in the library or earlier in the import (case ignored)";
        case SkipReason::NotUtf8: return "not valid UTF-8";
        case SkipReason::OutsideLatin1: return "a character the game cannot show (outside Latin-1)";
        case SkipReason::PhraseTooShort: return "phrase shorter than 2 characters";
        case SkipReason::PhraseTooLong: return "phrase longer than 38 characters";
        case SkipReason::HintTooLong: return "hint longer than 34 characters";
        case SkipReason::ControlCharacter: return "a line end or another control character";
        case SkipReason::PhraseHoldsSemicolon: return "phrase holds \";\"";
        case SkipReason::HintHoldsTerminator: return "hint holds \";\" or \":\"";
        case SkipReason::NoLetterToGuess: return "phrase has no letter A to Z to guess";
        case SkipReason::TooManyColumns: return "more than two columns";
        case SkipReason::UnclosedQuote: return "a quoted field without its closing quote";
    }
    return "?";
}

SkipReason fromFault(library::PuzzleFault fault) {
    using library::PuzzleFault;
    switch (fault) {
        case PuzzleFault::None: return SkipReason::None;
        case PuzzleFault::PhraseTooShort: return SkipReason::PhraseTooShort;
        case PuzzleFault::PhraseTooLong: return SkipReason::PhraseTooLong;
        case PuzzleFault::HintTooLong: return SkipReason::HintTooLong;
        case PuzzleFault::ControlCharacter: return SkipReason::ControlCharacter;
        case PuzzleFault::PhraseHoldsSemicolon: return SkipReason::PhraseHoldsSemicolon;
        case PuzzleFault::HintHoldsTerminator: return SkipReason::HintHoldsTerminator;
        case PuzzleFault::NoLetterToGuess: return SkipReason::NoLetterToGuess;
    }
    return SkipReason::None;
}

}  // namespace cli
