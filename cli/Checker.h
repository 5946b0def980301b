// Finding what is wrong with a stored library: its grammar, a cut last
// record, puzzles the add window would not have stored, duplicates.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "library/PuzzleLibrary.h"

namespace cli {

struct Finding {
    std::size_t record = 0;   // from 1; 0 for the library as a whole
    std::string text;
};

std::vector<Finding> checkLibrary(const std::string& plain, const std::vector<library::StoredRecord>& records);

}  // namespace cli
