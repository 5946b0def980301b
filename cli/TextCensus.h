// Telling a word list from binary data as it streams past: a NUL anywhere,
// or lines that mostly hold control characters, make no word list.
#pragma once

#include <cstddef>
#include <string_view>

namespace cli {

class TextCensus {
public:
    void add(std::string_view bytes);

    bool sawNul() const { return sawNul_; }
    // Of the lines that hold anything, more than half hold control characters
    // (TAB and CR aside). Counts the last line even without its line end.
    bool mostlyNotWords() const;

private:
    bool sawNul_ = false;
    bool lineHasBytes_ = false, lineHasControl_ = false;
    std::size_t lines_ = 0, controlLines_ = 0;
};

}  // namespace cli
