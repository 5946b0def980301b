// The record grammar of the plain puzzle file, written out directly over a
// string, as the fuzz targets' reference for what the readers must see.
// A field is everything up to, not including, the next delimiter, which is
// consumed; a read that reaches the end after taking at least one character
// succeeds with it; a read that takes nothing fails and yields "".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fuzz {

inline bool readField(const std::string& file, std::size_t& pos, char delim, std::string& field) {
    field.clear();
    if (pos >= file.size()) return false;
    const std::size_t end = file.find(delim, pos);
    if (end == std::string::npos) {
        field = file.substr(pos);
        pos = file.size();
    } else {
        field = file.substr(pos, end - pos);
        pos = end + 1;
    }
    return true;
}

struct Record {
    std::string phrase;
    std::string hint;
    std::size_t offset = 0;   // where the phrase starts in the file
};

// The records in file order, each a phrase read up to ';' and then a hint
// read up to ':', until a phrase read fails.
inline std::vector<Record> readRecords(const std::string& file) {
    std::vector<Record> records;
    std::size_t pos = 0;
    Record r;
    r.offset = pos;
    while (readField(file, pos, ';', r.phrase)) {
        readField(file, pos, ':', r.hint);
        records.push_back(r);
        r.offset = pos;
    }
    return records;
}

// The pieces the draw counts: reads up to ';' that succeed.
inline int countPieces(const std::string& file) {
    int pieces = 0;
    std::size_t pos = 0;
    std::string piece;
    while (readField(file, pos, ';', piece)) ++pieces;
    return pieces;
}

}  // namespace fuzz
