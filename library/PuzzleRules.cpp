#include "library/PuzzleRules.h"

#include "library/PuzzleRecord.h"

namespace library {

bool isControlByte(unsigned char c) { return c < 32 || (c >= 127 && c < 160); }

bool hasLetterToGuess(const std::string& phrase) {
    for (char c : phrase) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    }
    return false;
}

namespace {

bool holdsControlByte(const std::string& text) {
    for (char c : text) {
        if (isControlByte(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

}  // namespace

PuzzleFault checkPuzzle(const std::string& phrase, const std::string& hint) {
    if (phrase.size() < kMinPhraseLength) return PuzzleFault::PhraseTooShort;
    if (phrase.size() > kMaxPhraseLength) return PuzzleFault::PhraseTooLong;
    if (hint.size() > kMaxHintLength) return PuzzleFault::HintTooLong;
    if (holdsControlByte(phrase) || holdsControlByte(hint)) return PuzzleFault::ControlCharacter;
    if (!storableField(phrase, kPhraseForbidden)) return PuzzleFault::PhraseHoldsSemicolon;
    if (!storableField(hint, kHintForbidden)) return PuzzleFault::HintHoldsTerminator;
    if (!hasLetterToGuess(phrase)) return PuzzleFault::NoLetterToGuess;
    return PuzzleFault::None;
}

std::string phraseKey(const std::string& phrase) {
    std::string key = lowerAscii(phrase);
    for (char& c : key) {
        const auto u = static_cast<unsigned char>(c);
        // Latin-1 capitals À..Þ (but not ×) sit 32 below their small letters.
        if (u >= 0xC0 && u <= 0xDE && u != 0xD7) c = static_cast<char>(u + 32);
    }
    return key;
}

}  // namespace library
