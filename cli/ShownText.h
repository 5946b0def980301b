// Latin-1 text as the tool prints it to a terminal: UTF-8, with control
// bytes (a line end or a TAB in a hand-edited library) made visible, so that
// a record stays on its line and the columns of list line up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

struct ShownText {
    std::string utf8;
    std::size_t width = 0;   // terminal columns
};

// C0 controls and DEL as ^J, ^I, ^?; C1 controls as <85>.
ShownText shownText(std::string_view latin1);

// The text padded with blanks to width columns (never cut).
std::string paddedTo(const ShownText& text, std::size_t width);

}  // namespace cli
