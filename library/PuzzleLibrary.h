// The plain library as a list of records, read with the game's own field
// reader. Each record knows the bytes it spans, so a change splices the text
// and every other byte stays as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace library {

struct StoredRecord {
    std::string phrase;   // as stored, without its ";"
    std::string hint;     // as stored, without its ":"
    std::size_t begin = 0;   // the record is the bytes [begin, end) of the text
    std::size_t end = 0;
    bool closedPhrase = true;   // the phrase ended at a ";", not at the end of the text
    bool closedHint = true;     // the hint ended at a ":"
};

// Every record in file order, as the puzzle viewer reads them: a phrase up to
// ";", a hint up to ":". Text after the last ":" is one more record, cut.
std::vector<StoredRecord> splitLibrary(const std::string& plain);

// phrase ";" hint ":", the record as the game writes it back.
std::string recordText(const std::string& phrase, const std::string& hint);

// The number of records a New Game may draw, counted as the game counts
// them: the pieces of the text that end at a ";" or at its end, minus 3.
std::int64_t drawableCount(const std::string& plain);

// The game never draws a library's first or last record; a library started
// from nothing gets these two around its puzzles (the shipped one has them too).
inline constexpr const char* kStartPhrase = "tarvik kxv library start";
inline constexpr const char* kStartHint = "Library start marker";
inline constexpr const char* kEndPhrase = "tarvik kxv library end";
inline constexpr const char* kEndHint = "Library end marker";

// Where new records go so that every one of them can be drawn: before the
// last complete record (what follows it, a cut tail, stays behind it). A
// library without a record in front of that place gets the start record
// first; one without a complete record gets both frame records.
struct InsertionPlan {
    std::size_t at = 0;        // byte offset in the plain text
    bool startRecord = false;  // put the start record at the front
    bool endRecord = false;    // put the end record after the new records
};
InsertionPlan planInsertion(const std::vector<StoredRecord>& records);

// The plain text with newRecords (stored form, back to back) put in as planned.
std::string insertRecords(const std::string& plain, const InsertionPlan& plan,
                          const std::string& newRecords);

// The plain text without record index (0-based) of records.
std::string eraseRecord(const std::string& plain, const std::vector<StoredRecord>& records,
                        std::size_t index);

}  // namespace library
