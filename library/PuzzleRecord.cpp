#include "library/PuzzleRecord.h"

namespace library {

bool storableField(const std::string& text, const char* forbidden) {
    return text.find_first_of(forbidden) == std::string::npos;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string buildRecord(const std::string& phrase, const std::string& hint) {
    const std::string hintPart = hint.empty() ? std::string(kNoHintPart) : hint + ":";
    return lowerAscii(phrase + ";") + hintPart;
}

}  // namespace library
