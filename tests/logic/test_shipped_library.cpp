// The shipped library, resources/OnLoad.dat: it must unscramble to records
// the game can read, within the limits the add-puzzle window keeps, and it
// must be exactly what resources/puzzles/puzzles.txt says, in that order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/Draw.h"
#include "game/RoundState.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "tests/logic/Fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readFile;

const fs::path kSourceDir = TARVIK_SOURCE_DIR;
const std::string kStartPhrase = "tarvik kxv library start";
const std::string kEndPhrase = "tarvik kxv library end";

struct Record {
    std::string phrase;
    std::string hint;
    bool operator==(const Record&) const = default;
};

std::string shippedPlainText() {
    return library::unscrambleBytes(readFile(kSourceDir / "resources/OnLoad.dat"));
}

// Splits the plain text strictly by the record grammar; any fault goes to
// problems and ends the split.
std::vector<Record> splitRecords(const std::string& text, std::string& problem) {
    std::vector<Record> records;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t semi = text.find(';', pos);
        if (semi == std::string::npos) {
            problem = "text after the last record at byte " + std::to_string(pos);
            break;
        }
        const std::size_t colon = text.find(':', semi + 1);
        if (colon == std::string::npos) {
            problem = "record at byte " + std::to_string(pos) + " has no closing ':'";
            break;
        }
        Record r{text.substr(pos, semi - pos), text.substr(semi + 1, colon - semi - 1)};
        if (r.phrase.find(':') != std::string::npos || r.hint.find(';') != std::string::npos) {
            problem = "record at byte " + std::to_string(pos) + " mixes up its terminators";
            break;
        }
        records.push_back(r);
        pos = colon + 1;
    }
    return records;
}

// The readable source, read independently of the generator.
std::vector<Record> sourceRecords() {
    std::istringstream in(readFile(kSourceDir / "resources/puzzles/puzzles.txt"));
    std::vector<Record> records;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        records.push_back({line.substr(0, tab),
                           tab == std::string::npos ? std::string() : line.substr(tab + 1)});
    }
    return records;
}

class ShippedLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        plain = shippedPlainText();
        ASSERT_FALSE(plain.empty()) << "resources/OnLoad.dat is missing or empty";
        records = splitRecords(plain, problem);
    }
    std::string plain;
    std::string problem;
    std::vector<Record> records;
};

TEST_F(ShippedLibrary, FollowsTheRecordGrammar) {
    EXPECT_EQ(problem, "");
    EXPECT_EQ(plain.back(), ':') << "nothing may follow the last record";
    EXPECT_EQ(plain.find_first_of("\r\n"), std::string::npos) << "no line ends anywhere";
    const auto odd = std::find_if(plain.begin(), plain.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126;
    });
    EXPECT_EQ(odd, plain.end()) << "non-printable byte at " << (odd - plain.begin());
    // Scrambling the text again gives the committed bytes back.
    EXPECT_EQ(library::scrambleBytes(plain), readFile(kSourceDir / "resources/OnLoad.dat"));
}

TEST_F(ShippedLibrary, HoldsEnoughPuzzlesBetweenItsMarkers) {
    ASSERT_GE(records.size(), 300u);
    EXPECT_EQ(records.front().phrase, kStartPhrase);
    EXPECT_EQ(records.back().phrase, kEndPhrase);
    for (std::size_t i = 1; i + 1 < records.size(); ++i) {
        EXPECT_NE(records[i].phrase, kStartPhrase) << "record " << i;
        EXPECT_NE(records[i].phrase, kEndPhrase) << "record " << i;
    }
}

TEST_F(ShippedLibrary, EveryRecordKeepsTheLimits) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        SCOPED_TRACE("record " + std::to_string(i) + ": " + r.phrase);
        EXPECT_GE(r.phrase.size(), 2u);
        EXPECT_LE(r.phrase.size(), 38u);
        EXPECT_GE(r.hint.size(), 1u);
        EXPECT_LE(r.hint.size(), 34u);
        EXPECT_EQ(r.phrase.find_first_of(";:#"), std::string::npos);
        EXPECT_EQ(r.hint.find_first_of(";:"), std::string::npos);
        EXPECT_TRUE(std::none_of(r.phrase.begin(), r.phrase.end(),
                                 [](unsigned char c) { return std::isupper(c); }))
            << "phrases are stored in lower case";
        // A phrase without letters would be won before the first guess.
        EXPECT_TRUE(std::any_of(r.phrase.begin(), r.phrase.end(),
                                [](unsigned char c) { return std::islower(c); }));
    }
}

TEST_F(ShippedLibrary, HasNoDuplicatePhrases) {
    std::set<std::string> seen;
    for (const Record& r : records) EXPECT_TRUE(seen.insert(r.phrase).second) << r.phrase;
}

TEST_F(ShippedLibrary, MatchesItsReadableSourceInOrder) {
    const auto source = sourceRecords();
    ASSERT_EQ(records.size(), source.size()) << "regenerate OnLoad.dat from puzzles.txt";
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i], source[i]) << "record " << i << " differs from puzzles.txt";
}

TEST_F(ShippedLibrary, TheGamesPieceCountSeesEveryRecord) {
    // The draw counts pieces ending at ';' or at the end of the file, minus 3.
    std::istringstream in(plain);
    std::string piece;
    int pieces = 0;
    while (library::readField(in, piece, ';')) ++pieces;
    EXPECT_EQ(pieces - 3, static_cast<int>(records.size()) - 2);
}

class ShippedLibraryInPlay : public testing_support::ProgramTest {};

TEST_F(ShippedLibraryInPlay, StartUpUnscramblesItAndDrawsOnlyBetweenTheMarkers) {
    write("OnLoad.dat", readFile(kSourceDir / "resources/OnLoad.dat"));
    start();
    const std::string plain = read("KXData.dat");
    EXPECT_EQ(plain, shippedPlainText());

    std::string problem;
    const auto records = splitRecords(plain, problem);
    ASSERT_GE(records.size(), 300u);

    auto& rs = game::roundState;
    rs.gamesStarted = 1;  // the draw follows the New Game that counted itself
    for (int draw = 0; draw < 40; ++draw) {
        ASSERT_TRUE(game::drawPuzzle());
        EXPECT_EQ(library::libraryState.recordCount, static_cast<int>(records.size()) - 2);
        const auto hit = std::find_if(records.begin() + 1, records.end() - 1, [&](const Record& r) {
            std::string upper = r.phrase;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return upper == rs.plainAnswer && r.hint == rs.hint;
        });
        EXPECT_NE(hit, records.end() - 1) << "drew \"" << rs.plainAnswer << "\"";
        rs.gamesStarted = 2;
    }
}

}  // namespace
