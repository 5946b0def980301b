// The readable puzzle source (resources/puzzles/puzzles.txt): parsing,
// checking every line against the limits the game relies on, and building
// the plain library text from it.
#pragma once

#include <string>
#include <vector>

namespace puzzle_source {

// Limits of a stored record, the same the add-puzzle window keeps to.
inline constexpr std::size_t kMinPhraseLength = 2;
inline constexpr std::size_t kMaxPhraseLength = 38;
inline constexpr std::size_t kMinHintLength = 1;
inline constexpr std::size_t kMaxHintLength = 34;

// The first and the last record are never drawn; these mark them.
inline constexpr const char* kStartMarker = "tarvik kxv library start";
inline constexpr const char* kEndMarker = "tarvik kxv library end";

// Below this many records the game draws nothing at all.
inline constexpr std::size_t kMinRecords = 5;

struct Puzzle {
    int line = 0;  // 1-based line in the source
    std::string phrase;
    std::string hint;
};

struct ParseResult {
    std::vector<Puzzle> puzzles;
    std::vector<std::string> errors;  // each names its line; empty means valid
};

// Reads the whole source text. Lines starting with '#' and empty lines are
// skipped; every other line must be "phrase<TAB>hint" within the limits.
ParseResult parsePuzzleSource(const std::string& text);

// The records back to back: phrase ";" hint ":" for each, nothing else.
std::string buildLibraryText(const std::vector<Puzzle>& puzzles);

}  // namespace puzzle_source
