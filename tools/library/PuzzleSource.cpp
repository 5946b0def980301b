#include "PuzzleSource.h"

#include <map>
#include <string_view>

namespace puzzle_source {
namespace {

bool isLowerLetter(char c) { return c >= 'a' && c <= 'z'; }
bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Punctuation a phrase may hold besides letters, digits and single spaces.
// Everything else is kept out: ';' and ':' end the record's fields, '#' and
// '*' and '_' would show as hidden or as blanks during play.
constexpr std::string_view kPhrasePunctuation = "'-,.!?&";

std::string describe(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u == '\t') return "a TAB";
    if (u < 32 || u > 126) return "the byte " + std::to_string(u);
    return std::string("'") + c + "'";
}

// Blank-related faults shared by both fields.
void checkBlanks(const std::string& field, const std::string& name,
                 const std::string& where, std::vector<std::string>& errors) {
    if (field.empty()) return;
    if (field.front() == ' ' || field.back() == ' ')
        errors.push_back(where + name + " starts or ends with a space");
    if (field.find("  ") != std::string::npos)
        errors.push_back(where + name + " holds two spaces in a row");
}

void checkPhrase(const std::string& phrase, const std::string& where,
                 std::vector<std::string>& errors) {
    if (phrase.size() < kMinPhraseLength || phrase.size() > kMaxPhraseLength)
        errors.push_back(where + "phrase has " + std::to_string(phrase.size()) +
                         " characters, allowed are " + std::to_string(kMinPhraseLength) +
                         " to " + std::to_string(kMaxPhraseLength));
    bool hasLetter = false;
    for (char c : phrase) {
        if (isLowerLetter(c)) {
            hasLetter = true;
        } else if (isUpperLetter(c)) {
            errors.push_back(where + "phrase must be lower case, found " + describe(c));
            return;
        } else if (!isDigit(c) && c != ' ' &&
                   kPhrasePunctuation.find(c) == std::string_view::npos) {
            errors.push_back(where + "phrase may not hold " + describe(c));
            return;
        }
    }
    if (!hasLetter && !phrase.empty())
        errors.push_back(where + "phrase holds no letter to guess");
    checkBlanks(phrase, "phrase", where, errors);
}

void checkHint(const std::string& hint, const std::string& where,
               std::vector<std::string>& errors) {
    if (hint.size() < kMinHintLength || hint.size() > kMaxHintLength)
        errors.push_back(where + "hint has " + std::to_string(hint.size()) +
                         " characters, allowed are " + std::to_string(kMinHintLength) +
                         " to " + std::to_string(kMaxHintLength));
    for (char c : hint) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126 || c == ';' || c == ':') {
            errors.push_back(where + "hint may not hold " + describe(c));
            return;
        }
    }
    checkBlanks(hint, "hint", where, errors);
}

}  // namespace

ParseResult parsePuzzleSource(const std::string& text) {
    ParseResult result;
    std::map<std::string, int> firstLineOf;
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;

        if (line.empty() || line.front() == '#') continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!line.empty() && line.back() == '\r') {
            result.errors.push_back(where + "ends with a carriage return (DOS line end)");
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            result.errors.push_back(where + "no TAB between phrase and hint");
            continue;
        }
        Puzzle p{lineNumber, line.substr(0, tab), line.substr(tab + 1)};
        if (p.hint.find('\t') != std::string::npos) {
            result.errors.push_back(where + "more than one TAB");
            continue;
        }
        const std::size_t before = result.errors.size();
        checkPhrase(p.phrase, where, result.errors);
        checkHint(p.hint, where, result.errors);
        auto [it, fresh] = firstLineOf.emplace(p.phrase, lineNumber);
        if (!fresh)
            result.errors.push_back(where + "phrase \"" + p.phrase + "\" is already on line " +
                                    std::to_string(it->second));
        if (result.errors.size() == before) result.puzzles.push_back(std::move(p));
    }

    if (!result.errors.empty()) return result;
    if (result.puzzles.size() < kMinRecords) {
        result.errors.push_back("only " + std::to_string(result.puzzles.size()) +
                                " puzzles, the game needs at least " +
                                std::to_string(kMinRecords));
        return result;
    }
    const Puzzle& first = result.puzzles.front();
    const Puzzle& last = result.puzzles.back();
    if (first.phrase != kStartMarker)
        result.errors.push_back("line " + std::to_string(first.line) +
                                ": the first puzzle must be the marker \"" +
                                kStartMarker + "\"");
    if (last.phrase != kEndMarker)
        result.errors.push_back("line " + std::to_string(last.line) +
                                ": the last puzzle must be the marker \"" + kEndMarker + "\"");
    return result;
}

std::string buildLibraryText(const std::vector<Puzzle>& puzzles) {
    std::string text;
    for (const Puzzle& p : puzzles) {
        text += p.phrase;
        text += ';';
        text += p.hint;
        text += ':';
    }
    return text;
}

}  // namespace puzzle_source
