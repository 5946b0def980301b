#include "cli/ShownText.h"

#include <cstdio>

#include "cli/Latin1.h"

namespace cli {

ShownText shownText(std::string_view latin1) {
    ShownText out;
    out.utf8.reserve(latin1.size() + latin1.size() / 4);
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out.utf8 += '^';
            out.utf8 += static_cast<char>(c == 0x7F ? '?' : c + 0x40);
            out.width += 2;
        } else if (c >= 0x80 && c < 0xA0) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%02X>", c);
            out.utf8 += buf;
            out.width += 4;
        } else {
            // Every other Latin-1 character takes one column.
            out.utf8 += latin1ToUtf8(std::string_view(&ch, 1));
            out.width += 1;
        }
    }
    return out;
}

std::string paddedTo(const ShownText& text, std::size_t width) {
    std::string out = text.utf8;
    if (text.width < width) out.append(width - text.width, ' ');
    return out;
}

}  // namespace cli
