// What export writes, import reads back into the same records, also when
// import guesses the format: phrases that look like comments, CSV quotes,
// XML or escapes, and phrases starting with every printable Latin-1 character.
#include <gtest/gtest.h>

#include "library/PuzzleLibrary.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

// The puzzles: one starting with each printable Latin-1 character (";"
// always ends a phrase), the misread ones first and twenty times over,
// so that they fill every line the format guess looks at.
std::vector<std::pair<std::string, std::string>> trickyPuzzles() {
    std::vector<std::pair<std::string, std::string>> p;
    const std::string first = "\"#<\\ ";
    for (int round = 0; round < 5; ++round) {
        for (char c : first) p.push_back({std::string(1, c) + "tricky " + std::to_string(round), "Hint \"q\", <b>"});
    }
    for (int c = 0x20; c <= 0xff; ++c) {
        if (c == ';' || (c > 0x7e && c < 0xa0)) continue;
        p.push_back({std::string(1, static_cast<char>(c)) + "word " + std::to_string(c), "starts with #" + std::to_string(c)});
    }
    p.push_back({"  <kvtml> with blanks", "#not a comment"});
    p.push_back({"a, b, c", "commas"});
    return p;
}

std::string plainOf(const std::vector<std::pair<std::string, std::string>>& puzzles) {
    std::string plain;
    for (const auto& [phrase, hint] : puzzles) plain += phrase + ";" + hint + ":";
    return plain;
}

// The records a library holds, without the frame records an import into an
// empty folder puts around them.
std::vector<std::pair<std::string, std::string>> puzzlesIn(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& r : library::splitLibrary(plainLibrary(folder))) {
        if (r.phrase != library::kStartPhrase && r.phrase != library::kEndPhrase) out.push_back({r.phrase, r.hint});
    }
    return out;
}

}  // namespace

TEST(RoundTrip, EveryPhraseComesBackWithTheFormatGivenOrGuessed) {
    auto puzzles = trickyPuzzles();
    // The library keeps phrases as the add window stores them: letters in lower case.
    for (auto& [phrase, hint] : puzzles) {
        for (char& c : phrase) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        }
    }
    TempFolder source("round-source");
    writePlainLibrary(source.path(), plainOf(puzzles));
    ASSERT_EQ(puzzlesIn(source.path()), puzzles);

    for (const char* format : {"txt", "csv"}) {
        const ToolResult exported = runTool({"--dir", source.dir(), "export", "--format", format});
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        EXPECT_EQ(exported.err, "");
        for (bool guessed : {true, false}) {
            TempFolder target("round-target");
            writeBytes(target / "list", exported.out);
            std::vector<std::string> args = {"--dir", target.dir(), "import", (target / "list").string()};
            if (!guessed) args.insert(args.end() - 1, {"--format", format});
            const ToolResult imported = runTool(args);
            SCOPED_TRACE(std::string(format) + (guessed ? " guessed" : " given"));
            ASSERT_EQ(imported.exitCode, 0) << imported.err;
            EXPECT_NE(imported.out.find(std::string("(") + format + (format == std::string("csv") ? ", comma" : "") + "): " + std::to_string(puzzles.size()) +
                                        " entries, " + std::to_string(puzzles.size()) + " new puzzles"),
                      std::string::npos)
                << imported.out;
            EXPECT_EQ(puzzlesIn(target.path()), puzzles);
        }
    }
}

TEST(RoundTrip, TheTextEscapeIsTakenAwayOnlyBeforeWhatItEscapes) {
    TempFolder f("escapes");
    writeBytes(f / "list", "\\#hash;1\n\\\\back;2\n\\apple;3\n\\ blank;4\n# comment\n\\\"quote;5\n\\<lt;6\n");
    const ToolResult r = runTool({"--dir", f.dir(), "import", (f / "list").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"#hash", "1"}, {"\\back", "2"}, {"\\apple", "3"}, {" blank", "4"}, {"\"quote", "5"}, {"<lt", "6"}};
    EXPECT_EQ(puzzlesIn(f.path()), expected);
}

TEST(RoundTrip, RecordsNoPuzzleMayBeSpoilNoOtherRecordsComingBack) {
    // A hint with ";" (which the game reads, but no import takes), one with a line end.
    TempFolder source("round-broken");
    writePlainLibrary(source.path(), "first;1:ab;h;i:cd;x\ny:last;2:");
    ToolResult r = runTool({"--dir", source.dir(), "export", "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    TempFolder target("round-broken-target");
    writeBytes(target / "list", r.out);
    r = runTool({"--dir", target.dir(), "import", (target / "list").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(csv, comma): 4 entries, 2 new puzzles"), std::string::npos) << r.out;
    const std::vector<std::pair<std::string, std::string>> expected = {{"first", "1"}, {"last", "2"}};
    EXPECT_EQ(puzzlesIn(target.path()), expected);

    // A text list cannot hold a line end: export says so.
    r = runTool({"--dir", source.dir(), "export"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("note: 1 record(s) hold a line end, which a txt list cannot keep; --format csv keeps them"),
              std::string::npos) << r.err;
}

TEST(RoundTrip, AFirstRecordThatLooksLikeAHeaderRowComesBack) {
    // A library without frame records whose first puzzle reads like a
    // spreadsheet's header: import's header detection must not drop it.
    for (const char* plain : {"word;clue:hint;phrase:owl;Night bird:", "word;:owl;Night bird:"}) {
        TempFolder source("round-header");
        writePlainLibrary(source.path(), plain);
        const auto puzzles = puzzlesIn(source.path());
        for (const char* format : {"txt", "csv"}) {
            SCOPED_TRACE(std::string(plain) + " as " + format);
            const ToolResult exported = runTool({"--dir", source.dir(), "export", "--format", format});
            ASSERT_EQ(exported.exitCode, 0) << exported.err;
            TempFolder target("round-header-target");
            writeBytes(target / "list", exported.out);
            const ToolResult imported = runTool({"--dir", target.dir(), "import", (target / "list").string()});
            ASSERT_EQ(imported.exitCode, 0) << imported.err;
            // (A record without a hint comes back with the default one.)
            std::vector<std::string> want, got;
            for (const auto& p : puzzles) want.push_back(p.first);
            for (const auto& p : puzzlesIn(target.path())) got.push_back(p.first);
            EXPECT_EQ(got, want) << exported.out << imported.out;
            if (puzzles.front().second.empty()) continue;
            EXPECT_EQ(puzzlesIn(target.path()), puzzles) << exported.out << imported.out;
        }
    }
}
