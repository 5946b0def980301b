// The phrases an import may not add again, case ignored as the library's
// phraseKey ignores it. Each is kept as its place in a text the caller owns
// (the library's phrases, the new records), so millions of them cost a few
// bytes each instead of a string each.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class PhraseIndex {
public:
    // The texts the phrases stand in, each phrase up to a ";" or the text's end.
    explicit PhraseIndex(std::array<const std::string*, 2> texts);

    // Adds phrase, which stands (or, once the caller appends it, will stand)
    // at offset in texts[text], unless one equal to it is there already:
    // then false, and nothing changes.
    bool claim(std::string_view phrase, unsigned text, std::size_t offset);

    std::size_t size() const { return count_; }

private:
    std::string_view stored(std::uint64_t slot) const;
    std::uint64_t hash(std::string_view phrase) const;
    bool same(std::string_view a, std::string_view b) const;
    void grow();

    std::array<const std::string*, 2> texts_;
    std::array<unsigned char, 256> fold_{};
    std::vector<std::uint64_t> slots_;   // 0 empty, else (offset << 1 | text) + 1
    std::size_t count_ = 0;
};

}  // namespace cli
