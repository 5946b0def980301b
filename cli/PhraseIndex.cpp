#include "cli/PhraseIndex.h"

#include "library/PuzzleRules.h"

namespace cli {

PhraseIndex::PhraseIndex(std::array<const std::string*, 2> texts) : texts_(texts), slots_(1024, 0) {
    // phraseKey folds one character at a time; its table, so both agree.
    for (unsigned c = 0; c < 256; ++c) {
        const std::string key = library::phraseKey(std::string(1, static_cast<char>(c)));
        fold_[c] = static_cast<unsigned char>(key.size() == 1 ? key[0] : static_cast<char>(c));
    }
}

std::string_view PhraseIndex::stored(std::uint64_t slot) const {
    const std::uint64_t v = slot - 1;
    const std::string& text = *texts_[v & 1];
    const std::size_t offset = static_cast<std::size_t>(v >> 1);
    const std::size_t end = text.find(';', offset);
    return std::string_view(text).substr(offset, end == std::string::npos ? std::string::npos : end - offset);
}

std::uint64_t PhraseIndex::hash(std::string_view phrase) const {
    std::uint64_t h = 14695981039346656037ull;   // FNV-1a
    for (char c : phrase) h = (h ^ fold_[static_cast<unsigned char>(c)]) * 1099511628211ull;
    return h;
}

bool PhraseIndex::same(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (fold_[static_cast<unsigned char>(a[k])] != fold_[static_cast<unsigned char>(b[k])]) return false;
    }
    return true;
}

void PhraseIndex::grow() {
    std::vector<std::uint64_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint64_t slot : old) {
        if (slot == 0) continue;
        std::size_t at = static_cast<std::size_t>(hash(stored(slot))) & mask;
        while (slots_[at] != 0) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

bool PhraseIndex::claim(std::string_view phrase, unsigned text, std::size_t offset) {
    // At most 70 % full, so a search ends soon.
    if ((count_ + 1) * 10 > slots_.size() * 7) grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(hash(phrase)) & mask;
    while (slots_[at] != 0) {
        if (same(stored(slots_[at]), phrase)) return false;
        at = (at + 1) & mask;
    }
    slots_[at] = ((static_cast<std::uint64_t>(offset) << 1) | (text & 1)) + 1;
    ++count_;
    return true;
}

}  // namespace cli
