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
        case SkipReason::Possessive: return "a possessive \"'s\" form of a word";
        case SkipReason::TooManyColumns: return "more than two columns";
        case SkipReason::UnclosedQuote: return "a quoted field without its closing quote";
    }
    return "?";
}

const char* advice(SkipReason reason) {
    switch (reason) {
        case SkipReason::Duplicate: return "the puzzles are already in the library";
        case SkipReason::NotUtf8:
            return "the file is not in UTF-8; convert it first, e.g. iconv -f latin1 -t utf-8 FILE";
        case SkipReason::OutsideLatin1:
            return "the words are in an alphabet the game cannot show (it shows Latin-1 only)";
        case SkipReason::PhraseTooLong:
        case SkipReason::NoLetterToGuess:
            return "is the first column the phrase? A header row naming the columns (phrase, hint) says which is which";
        case SkipReason::HintTooLong: return "--long-hints shorten keeps these, their hints cut to 34 characters";
        case SkipReason::PhraseHoldsSemicolon:
        case SkipReason::HintHoldsTerminator:
        case SkipReason::TooManyColumns:
            return "the columns may be split by another character: try --separator ';', ',' or tab, or --format";
        case SkipReason::Possessive: return "--keep-possessives keeps them";
        case SkipReason::UnclosedQuote: return "a quote opens a field that never ends; try --format txt";
        default: return "";
    }
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
