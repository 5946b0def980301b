#include "cli/Checker.h"

#include <cstdio>
#include <unordered_map>

#include "library/PuzzleRules.h"

namespace cli {

namespace {

std::string firstControlByte(const std::string& text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (library::isControlByte(u)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "0x%02X", u);
            return buf;
        }
    }
    return {};
}

// What is wrong with one record's content, or "" when nothing is.
std::string contentFault(const library::StoredRecord& r) {
    using library::PuzzleFault;
    switch (library::checkPuzzle(r.phrase, r.hint)) {
        case PuzzleFault::None:
            return {};
        case PuzzleFault::PhraseTooShort:
            return "phrase of " + std::to_string(r.phrase.size()) + " character(s), at least 2 are stored";
        case PuzzleFault::PhraseTooLong:
            return "phrase of " + std::to_string(r.phrase.size()) + " characters, over the limit of 38";
        case PuzzleFault::HintTooLong:
            return "hint of " + std::to_string(r.hint.size()) + " characters, over the limit of 34";
        case PuzzleFault::ControlCharacter: {
            const std::string inPhrase = firstControlByte(r.phrase);
            return (inPhrase.empty() ? "hint" : "phrase") + std::string(" holds the byte ") +
                   (inPhrase.empty() ? firstControlByte(r.hint) : inPhrase) +
                   ", a line end or a character outside the 8-bit set the game shows";
        }
        case PuzzleFault::PhraseHoldsSemicolon:
            return "phrase holds \";\"";   // cannot happen: a phrase ends at its first ";"
        case PuzzleFault::HintHoldsTerminator:
            return "hint holds \";\": the game counts one record too many and may draw past the end";
        case PuzzleFault::NoLetterToGuess:
            return "phrase has no letter A to Z to guess: the first click wins";
    }
    return {};
}

}  // namespace

std::vector<Finding> checkLibrary(const std::string& plain, const std::vector<library::StoredRecord>& records) {
    std::vector<Finding> findings;
    std::unordered_map<std::string, std::size_t> firstSeen;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& r = records[i];
        const std::size_t number = i + 1;
        if (!r.closedPhrase) {
            findings.push_back({number, "cut: text after the last record without a \";\" (the game shows no such record)"});
            continue;
        }
        if (!r.closedHint) findings.push_back({number, "cut: the last record has no closing \":\""});
        const std::string fault = contentFault(r);
        if (!fault.empty()) findings.push_back({number, fault});
        const auto [it, fresh] = firstSeen.emplace(library::phraseKey(r.phrase), number);
        if (!fresh) findings.push_back({number, "the same phrase as record " + std::to_string(it->second)});
    }

    const std::int64_t drawable = library::drawableCount(plain);
    std::size_t complete = 0;
    for (const auto& r : records) complete += r.closedPhrase ? 1 : 0;
    const std::int64_t expected = static_cast<std::int64_t>(complete) - 2;
    if (records.empty()) {
        findings.push_back({0, "the library is empty: New Game finds no puzzle"});
    } else if (drawable <= 2) {
        findings.push_back({0, "the game draws nothing: it needs at least 5 records (3 between the first and the last)"});
    } else if (drawable != expected) {
        findings.push_back({0, "the game counts " + std::to_string(drawable) + " drawable records, but " +
                                   std::to_string(expected < 0 ? 0 : expected) +
                                   " stand between the first and the last"});
    }
    return findings;
}

}  // namespace cli
