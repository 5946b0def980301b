// Telling a spreadsheet's header row ("Phrase;Hint", "Wort,Hinweis") from
// a first puzzle, and which column a header names as what.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class ColumnRole { None, Phrase, Hint, Other };

// What a header cell (UTF-8) names: the phrase, the hint, another column
// (a category, a comment...), or None when it is no header word at all.
// Case, blanks and marks around the word do not count.
ColumnRole headerRole(std::string_view cell);

// A row is a header when every cell that holds anything is a header word
// and one at least names the phrase or the hint.
bool looksLikeHeader(const std::vector<std::string>& cells);

}  // namespace cli
