// What a stored puzzle may hold: the limits of the add window's fields, the
// field terminators, and what the game needs to draw and play a record.
#pragma once

#include <cstddef>
#include <string>

namespace library {

inline constexpr std::size_t kMinPhraseLength = 2;   // a one-character phrase is not stored
inline constexpr std::size_t kMaxPhraseLength = 38;
inline constexpr std::size_t kMaxHintLength = 34;    // an empty hint is stored as "no hint available"

// The first fault found in a puzzle, phrase and hint given as typed (8-bit
// text, before the phrase is lower-cased).
enum class PuzzleFault {
    None,
    PhraseTooShort,
    PhraseTooLong,
    HintTooLong,
    ControlCharacter,       // a line end or another character the 8-bit set does not show
    PhraseHoldsSemicolon,   // ";" would end the phrase early
    HintHoldsTerminator,    // ";" or ":" would split the record or the count
    NoLetterToGuess,        // nothing for the letter tiles: the first click would win
};

PuzzleFault checkPuzzle(const std::string& phrase, const std::string& hint);

// Bytes that are no printable character of Latin-1: 0-31, 127 and 128-159.
bool isControlByte(unsigned char c);

// Whether the phrase holds a letter A to Z (either case): the only
// characters a letter tile uncovers.
bool hasLetterToGuess(const std::string& phrase);

// Two phrases are the same puzzle when their keys are equal: case is
// ignored, for the accented letters of Latin-1 too.
std::string phraseKey(const std::string& phrase);

}  // namespace library
