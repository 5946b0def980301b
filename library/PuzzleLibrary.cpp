#include "library/PuzzleLibrary.h"

#include <sstream>

#include "library/PuzzleFile.h"

namespace library {

std::vector<StoredRecord> splitLibrary(const std::string& plain) {
    std::vector<StoredRecord> records;
    std::istringstream in(plain);
    std::size_t pos = 0;
    std::string phrase;
    while (readField(in, phrase, ';')) {
        StoredRecord r;
        r.begin = pos;
        // A read that stopped at the end of the text took no terminator.
        r.closedPhrase = !in.eof();
        pos += phrase.size() + (r.closedPhrase ? 1 : 0);
        r.phrase = std::move(phrase);
        if (readField(in, r.hint, ':')) {
            r.closedHint = !in.eof();
            pos += r.hint.size() + (r.closedHint ? 1 : 0);
        } else {
            r.closedHint = false;
        }
        r.end = pos;
        records.push_back(std::move(r));
    }
    return records;
}

std::string recordText(const std::string& phrase, const std::string& hint) {
    return phrase + ";" + hint + ":";
}

std::int64_t drawableCount(const std::string& plain) {
    std::int64_t pieces = 0;
    for (char c : plain) {
        if (c == ';') ++pieces;
    }
    // A tail behind the last ";" is one more piece.
    const auto last = plain.rfind(';');
    if (last == std::string::npos ? !plain.empty() : last + 1 < plain.size()) ++pieces;
    return pieces - 3;
}

InsertionPlan planInsertion(const std::vector<StoredRecord>& records) {
    // The last record whose phrase is closed is the last one the count sees.
    for (std::size_t i = records.size(); i-- > 0;) {
        if (records[i].closedPhrase) return {records[i].begin, i == 0, false};
    }
    return {0, true, true};
}

std::string insertRecords(const std::string& plain, const InsertionPlan& plan,
                          const std::string& newRecords) {
    std::string out;
    out.reserve(plain.size() + newRecords.size() + 100);
    if (plan.startRecord) out += recordText(kStartPhrase, kStartHint);
    out.append(plain, 0, plan.at);
    out += newRecords;
    if (plan.endRecord) out += recordText(kEndPhrase, kEndHint);
    out.append(plain, plan.at, std::string::npos);
    return out;
}

std::string eraseRecord(const std::string& plain, const std::vector<StoredRecord>& records,
                        std::size_t index) {
    const StoredRecord& r = records.at(index);
    std::string out = plain;
    out.erase(r.begin, r.end - r.begin);
    return out;
}

}  // namespace library
