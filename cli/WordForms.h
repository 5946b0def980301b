// What word-list imports do to single entries on request: possessive forms
// of dictionaries, hints too long for the game.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// A single word ending in "'s" (or "’s"), as dictionaries list the
// possessive of nearly every noun: "Aaron's", "cat's".
bool isPossessive(std::string_view utf8);

// The hint cut to at most limit characters (code points of UTF-8) at a
// word boundary, ending in "..."; a hint that fits comes back as it is. A
// first word longer than the room is cut inside it.
std::string shortenedHint(std::string_view utf8, std::size_t limit);

// Characters (code points) of UTF-8 text; a stray byte counts as one.
std::size_t characterCount(std::string_view utf8);

}  // namespace cli
