#include "cli/Latin1.h"

namespace cli {

Conversion utf8ToLatin1(std::string_view in, std::string& out) {
    std::string result;
    result.reserve(in.size());
    bool outside = false;
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            result.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        // Length and smallest code point of a sequence led by b.
        std::size_t length = 0;
        char32_t cp = 0, least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2, cp = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, cp = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, cp = b & 0x07, least = 0x10000;
        } else {
            return Conversion::NotUtf8;
        }
        if (i + length > in.size()) return Conversion::NotUtf8;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(in[i + k]);
            if ((c & 0xC0) != 0x80) return Conversion::NotUtf8;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return Conversion::NotUtf8;
        // Keep reading after a character the game cannot hold, so that a
        // malformed sequence later on is still reported as such.
        if (cp > 0xFF) {
            outside = true;
        } else {
            result.push_back(static_cast<char>(cp));
        }
        i += length;
    }
    if (outside) return Conversion::OutsideLatin1;
    out = std::move(result);
    return Conversion::Done;
}

std::string latin1ToUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() + in.size() / 8);
    for (char ch : in) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string_view withoutBom(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

}  // namespace cli
