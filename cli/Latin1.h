// UTF-8 text in, the game's 8-bit text (Latin-1, as its edit fields take it) out, and back.
#pragma once

#include <string>
#include <string_view>

namespace cli {

enum class Conversion {
    Done,
    NotUtf8,         // a malformed sequence
    OutsideLatin1,   // a character above U+00FF, which the game cannot hold
};

// Converts the whole text; out holds the result only when Done.
Conversion utf8ToLatin1(std::string_view in, std::string& out);

std::string latin1ToUtf8(std::string_view in);

// Drops a UTF-8 byte order mark at the start.
std::string_view withoutBom(std::string_view text);

}  // namespace cli
