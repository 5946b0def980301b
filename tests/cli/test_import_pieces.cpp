// The parts an import streams through: the phrase index, byte sizes, the
// census that tells binary data, and reading entries a piece at a time.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cli/EntryReader.h"
#include "cli/InputFile.h"
#include "cli/PhraseIndex.h"
#include "cli/TextCensus.h"
#include "library/PuzzleRecord.h"
#include "library/PuzzleRules.h"
#include "tests/cli/ToolRun.h"

using namespace cli;

TEST(PhraseIndex, FindsEqualPhrasesAsPhraseKeyDoesAcrossGrowthAndBothTexts) {
    std::string library = "Caf\xc9 au lait;", added;
    PhraseIndex index({&library, &added});
    EXPECT_TRUE(index.claim("Caf\xc9 au lait", 0, 0));
    EXPECT_FALSE(index.claim("CAF\xe9 AU LAIT", 1, 0));
    // Many phrases, each appended after it is claimed, as the intake does.
    for (int i = 0; i < 50000; ++i) {
        const std::string phrase = "Word " + std::to_string(i);
        ASSERT_TRUE(index.claim(phrase, 1, added.size())) << i;
        added += library::lowerAscii(phrase) + ";hint:";
    }
    EXPECT_EQ(index.size(), 50001u);
    for (int i = 0; i < 50000; i += 997) EXPECT_FALSE(index.claim("WORD " + std::to_string(i), 1, added.size())) << i;
    EXPECT_FALSE(index.claim("caf\xe9 au lait", 1, added.size()));
    EXPECT_TRUE(index.claim("Word 50000", 1, added.size()));

    // Every byte folds as phraseKey folds it.
    std::string all;
    for (int c = 1; c < 256; ++c) {
        if (c != ';') all += static_cast<char>(c);
    }
    std::string keyed = library::phraseKey(all) + ";", none;
    PhraseIndex byKey({&keyed, &none});
    EXPECT_TRUE(byKey.claim(library::phraseKey(all), 0, 0));
    EXPECT_FALSE(byKey.claim(all, 1, 0));
}

TEST(ByteSizes, ReadAndToldInPowersOf1024) {
    std::uint64_t n = 0;
    ASSERT_TRUE(parseByteSize("200M", n));
    EXPECT_EQ(n, 200u << 20);
    ASSERT_TRUE(parseByteSize("3g", n));
    EXPECT_EQ(n, std::uint64_t{3} << 30);
    ASSERT_TRUE(parseByteSize("10KiB", n));
    EXPECT_EQ(n, 10240u);
    ASSERT_TRUE(parseByteSize("12345", n));
    EXPECT_EQ(n, 12345u);
    for (const char* bad : {"", "0", "K", "1.5M", "5T", "-1", "2MBs", "99999999999999999G"}) {
        EXPECT_FALSE(parseByteSize(bad, n)) << bad;
    }
    EXPECT_EQ(describeByteSize(64u << 20), "64 MiB");
    EXPECT_EQ(describeByteSize(200'000'033), "190.7 MiB");
    EXPECT_EQ(describeByteSize(1536), "1.5 KiB");
    EXPECT_EQ(describeByteSize(1000), "1000 bytes");
}

TEST(TextCensus, NulsAtOnceControlLinesByMajority) {
    TextCensus words;
    words.add("apple;fruit\r\n\tpear\n");
    words.add("\x1b[1m\n");   // one line in three
    EXPECT_FALSE(words.sawNul());
    EXPECT_FALSE(words.mostlyNotWords());
    words.add("\x7f\n\x01");   // a last line without its end counts
    EXPECT_TRUE(words.mostlyNotWords());

    TextCensus nul;
    nul.add(std::string("ok\0", 3));
    EXPECT_TRUE(nul.sawNul());
    EXPECT_FALSE(TextCensus().mostlyNotWords());
}

namespace {

struct Read {
    bool ok = false;
    Format format = Format::Txt;
    std::vector<RawEntry> entries;
    std::string error;
};

Read readFile(const std::string& path, std::optional<Format> given = std::nullopt, std::uint64_t max = 1 << 30) {
    Read r;
    InputFile in;
    if (!in.open(path, max, r.error)) return r;
    r.ok = readEntries(in, given, [&](RawEntry&& e) { r.entries.push_back(std::move(e)); }, r.format, r.error);
    return r;
}

}  // namespace

TEST(EntryReader, PiecesJoinAsTheWholeTextReads) {
    tool_test::TempFolder f("pieces");
    // Lines cut by the MiB pieces, a BOM, CR LF ends, comments; the format
    // guessed from the first 64 KiB.
    std::string text = "\xef\xbb\xbf# words\r\n";
    while (text.size() < 3u << 20) text += "phrase " + std::to_string(text.size()) + ";hint\r\n\n";
    text += "last without end";
    tool_test::writeBytes(f / "list", text);
    Read r = readFile((f / "list").string());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.format, Format::Txt);
    const auto whole = readTxt(text);
    ASSERT_EQ(r.entries.size(), whole.size());
    for (std::size_t k = 0; k < whole.size(); ++k) {
        ASSERT_EQ(r.entries[k].phrase, whole[k].phrase) << k;
        ASSERT_EQ(r.entries[k].hint, whole[k].hint) << k;
        ASSERT_EQ(r.entries[k].line, whole[k].line) << k;
    }

    // kvtml past its first piece; a cut one is refused with its name.
    std::string kvtml = "<?xml version='1.0'?><kvtml><entries>";
    for (int i = 0; i < 40000; ++i) kvtml += "<entry><translation><text>w" + std::to_string(i) + "</text></translation></entry>";
    tool_test::writeBytes(f / "k", kvtml + "</entries></kvtml>");
    r = readFile((f / "k").string());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.format, Format::Kvtml);
    ASSERT_EQ(r.entries.size(), 40000u);
    EXPECT_EQ(r.entries.back().phrase, "w39999");
    tool_test::writeBytes(f / "cut", kvtml);
    r = readFile((f / "cut").string());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.rfind((f / "cut").string() + ": not well-formed XML", 0), 0u) << r.error;

    // CSV quoted fields across a piece's end.
    std::string csv = "phrase,hint\n";
    while (csv.size() < (1u << 20) - 3) csv += "a,b\n";
    csv += "\"over\nthe end\",\"of \"\"it\"\"\"\n";
    tool_test::writeBytes(f / "c", csv);
    r = readFile((f / "c").string(), Format::Csv);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.entries.back().phrase, "over\nthe end");
    EXPECT_EQ(r.entries.back().hint, "of \"it\"");

    // The limit counts every byte read.
    r = readFile((f / "c").string(), Format::Csv, 1000);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("larger than the 1000 bytes an import reads"), std::string::npos) << r.error;
    r = readFile((f / "nothing").string());
    EXPECT_EQ(r.error, (f / "nothing").string() + ": no such file");
    r = readFile(f.dir());
    EXPECT_EQ(r.error, f.dir() + ": a folder, not a word list");
}
