#include "cli/WordForms.h"

namespace cli {

namespace {

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset after the first n characters.
std::size_t offsetAfter(std::string_view utf8, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < n && i < utf8.size(); ++k) {
        ++i;
        while (i < utf8.size() && continuation(utf8[i])) ++i;
    }
    return i;
}

bool trailingMark(char c) { return c == ' ' || c == ',' || c == ';' || c == ':' || c == '-' || c == '(' || c == '/'; }

}  // namespace

bool isPossessive(std::string_view utf8) {
    if (utf8.find_first_of(" \t") != std::string_view::npos) return false;
    for (std::string_view ending : {std::string_view("'s"), std::string_view("\xE2\x80\x99s")}) {
        if (utf8.size() > ending.size() && utf8.substr(utf8.size() - ending.size()) == ending) return true;
    }
    return false;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += continuation(c) ? 0 : 1;
    return n;
}

std::string shortenedHint(std::string_view utf8, std::size_t limit) {
    if (characterCount(utf8) <= limit || limit < 4) return std::string(utf8);
    const std::string_view ellipsis = "...";
    std::string_view kept = utf8.substr(0, offsetAfter(utf8, limit - ellipsis.size()));
    // Back to the last blank when the cut falls inside a word.
    const bool insideWord = utf8.size() > kept.size() && utf8[kept.size()] != ' ';
    if (insideWord) {
        const std::size_t blank = kept.rfind(' ');
        if (blank != std::string_view::npos && blank > 0) kept = kept.substr(0, blank);
    }
    while (!kept.empty() && trailingMark(kept.back())) kept.remove_suffix(1);
    return std::string(kept) + std::string(ellipsis);
}

}  // namespace cli
