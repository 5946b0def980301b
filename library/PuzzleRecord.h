// Building one record of the plain puzzle file: phrase ";" hint ":".
#pragma once

#include <string>

namespace library {

// The hint part stored when the user gave no hint.
inline constexpr const char* kNoHintPart = "no hint available:";

// Characters a field may not hold, since they end a field when it is read
// back: ";" ends a phrase, ":" a hint (a ":" inside a phrase reads fine).
inline constexpr const char* kPhraseForbidden = ";";
inline constexpr const char* kHintForbidden = ";:";

bool storableField(const std::string& text, const char* forbidden);

// A to Z become a to z; every other byte stays as it is.
std::string lowerAscii(std::string text);

// The stored form: the phrase lower-cased, then the hint as typed.
std::string buildRecord(const std::string& phrase, const std::string& hint);

}  // namespace library
