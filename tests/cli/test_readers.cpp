// The word-list readers, the conversion to the game's 8-bit text, and the
// intake that turns entries into records.
#include <gtest/gtest.h>

#include <string>

#include "cli/Exporter.h"
#include "cli/Importers.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"

using namespace cli;

TEST(Latin1, ConvertsWhatTheGameHoldsAndRefusesTheRest) {
    std::string out;
    EXPECT_EQ(utf8ToLatin1("caf\xc3\xa9 \xc3\x85ngstr\xc3\xb6m", out), Conversion::Done);
    EXPECT_EQ(out, "caf\xe9 \xc5ngstr\xf6m");
    EXPECT_EQ(latin1ToUtf8(out), "caf\xc3\xa9 \xc3\x85ngstr\xc3\xb6m");
    out = "unchanged";
    EXPECT_EQ(utf8ToLatin1("\xe2\x82\xac", out), Conversion::OutsideLatin1);        // the euro sign
    EXPECT_EQ(utf8ToLatin1("\xd0\xbc\xd0\xb8\xd1\x80", out), Conversion::OutsideLatin1);
    EXPECT_EQ(out, "unchanged");
    for (const char* bad : {"\xe9", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf5\x80\x80\x80", "a\x80", "\xe2\x82"}) {
        EXPECT_EQ(utf8ToLatin1(bad, out), Conversion::NotUtf8) << bad;
    }
    // A malformed sequence after an unholdable character is still malformed.
    EXPECT_EQ(utf8ToLatin1("\xe2\x82\xac\xff", out), Conversion::NotUtf8);
}

TEST(Readers, TellTheFormatFromTheContent) {
    EXPECT_EQ(detectFormat("<?xml version=\"1.0\"?><kvtml/>"), Format::Kvtml);
    EXPECT_EQ(detectFormat("\xef\xbb\xbf\n  <kvtml>"), Format::Kvtml);
    EXPECT_EQ(detectFormat("apple\nbanana\n"), Format::Txt);
    EXPECT_EQ(detectFormat("apple;a fruit\n"), Format::Txt);
    EXPECT_EQ(detectFormat("apple\ta fruit\n"), Format::Txt);
    EXPECT_EQ(detectFormat("hello, world;greeting\n"), Format::Txt);
    EXPECT_EQ(detectFormat("apple,a fruit\n"), Format::Csv);
    EXPECT_EQ(detectFormat("\"a;b\",x\n"), Format::Csv);
    EXPECT_TRUE(looksBinary(std::string("ab\0cd", 5)));
    EXPECT_FALSE(looksBinary("plain text\n"));
}

TEST(Readers, TxtTakesSemicolonOrTabLinesAndSkipsCommentsAndBlanks) {
    const auto e = readTxt("\xef\xbb\xbfone;first hint\r\n# a comment\n\ntwo\tsecond\nthree\nfour;x;y\nfive\tsix;seven");
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].phrase, "one");
    EXPECT_EQ(e[0].hint, "first hint");   // the CR of a CRLF line end is not part of it
    EXPECT_EQ(e[1].line, 4u);
    EXPECT_EQ(e[1].hint, "second");
    EXPECT_EQ(e[2].phrase, "three");
    EXPECT_EQ(e[2].hint, "");
    EXPECT_EQ(e[3].hint, "x;y");          // a phrase ends at its first ";"
    EXPECT_EQ(e[4].phrase, "five\tsix");  // ";" before TAB
    EXPECT_EQ(e[4].hint, "seven");
}

TEST(Readers, CsvFollowsRfc4180) {
    const auto e = readCsv(
        "plain,hint\r\n"
        "\"say \"\"cheese\"\"\",photo\r\n"
        "\"two\r\nlines\",\"a, b\"\n"
        "\n"
        "alone\n"
        "padded,row,,\n"
        "three,col,umns\n"
        "\"never closed,x\n");
    ASSERT_EQ(e.size(), 7u);
    EXPECT_EQ(e[0].phrase, "plain");
    EXPECT_EQ(e[0].hint, "hint");
    EXPECT_EQ(e[1].phrase, "say \"cheese\"");
    EXPECT_EQ(e[2].phrase, "two\r\nlines");
    EXPECT_EQ(e[2].hint, "a, b");
    EXPECT_EQ(e[3].line, 6u);   // the quoted line end counts as a line
    EXPECT_EQ(e[3].phrase, "alone");
    EXPECT_EQ(e[4].fault, SkipReason::None);
    EXPECT_EQ(e[5].fault, SkipReason::TooManyColumns);
    EXPECT_EQ(e[6].fault, SkipReason::UnclosedQuote);
}

namespace {

// A kvtml file with one entry whose first translation's text is text.
std::string oneEntry(const std::string& text, const std::string& prolog = "") {
    return "<?xml version='1.0'?>" + prolog + "<kvtml><entries><entry><translation><text>" + text +
           "</text></translation></entry></entries></kvtml>";
}

std::string kvtmlError(const std::string& doc) {
    std::vector<RawEntry> e;
    std::string error;
    return readKvtml(doc, e, error) ? std::string() : error;
}

}  // namespace

TEST(KvtmlXml, EntitiesCdataCommentsAndANamedButUnreadDtd) {
    std::vector<RawEntry> e;
    std::string error;
    ASSERT_TRUE(readKvtml(oneEntry("t&amp;&lt;&#233;&#x20AC;<![CDATA[<raw>&amp;]]><!-- inside -->x",
                                   "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"),
                          e, error))
        << error;
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].phrase, "t&<\xc3\xa9\xe2\x82\xac<raw>&amp;x");

    for (const char* broken : {"<a><b></a>", "<kvtml>", "<kvtml x=1/>", "<kvtml/><b/>", "<kvtml><!-- x</kvtml>", "",
                               "text", "<kvtml><entries>&#0;</entries></kvtml>",
                               "<kvtml><![CDATA[x</kvtml>"}) {
        EXPECT_FALSE(kvtmlError(broken).empty()) << broken;
    }
    EXPECT_NE(kvtmlError(oneEntry("&nbsp;")).find("line 1"), std::string::npos) << kvtmlError(oneEntry("&nbsp;"));
}

TEST(KvtmlXml, DeclarationsOfTheFilesOwnAndExternalEntitiesAreRefused) {
    // The billion laughs: entities that expand to each other.
    std::string laughs = "<!DOCTYPE kvtml [<!ENTITY a \"haha\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        laughs += std::string("<!ENTITY ") + c + " \"";
        for (int k = 0; k < 10; ++k) laughs += std::string("&") + static_cast<char>(c - 1) + ";";
        laughs += "\">";
    }
    laughs += "]>";
    EXPECT_FALSE(kvtmlError(oneEntry("&j;", laughs)).empty());
    EXPECT_FALSE(kvtmlError(oneEntry("&x;", "<!DOCTYPE kvtml [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>")).empty());
    EXPECT_FALSE(kvtmlError(oneEntry("y", "<!DOCTYPE kvtml [<!ELEMENT kvtml ANY>]>")).empty());
    EXPECT_FALSE(kvtmlError(oneEntry("&x;", "<!DOCTYPE kvtml SYSTEM \"/etc/passwd\">")).empty());
}

TEST(KvtmlXml, NestingIsBoundedAndPiecesReadAsTheWhole) {
    std::string deep = "<kvtml><entries>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    EXPECT_NE(kvtmlError(deep).find("nested deeper"), std::string::npos) << kvtmlError(deep);
    std::string fine = "<kvtml><entries><entry><translation><text>ok</text><x>";
    for (int i = 0; i < 200; ++i) fine += "<a>";
    for (int i = 0; i < 200; ++i) fine += "</a>";
    fine += "</x></translation></entry></entries></kvtml>";
    EXPECT_EQ(kvtmlError(fine), "");

    // Fed a byte at a time, a file gives the entries it gives whole.
    std::string doc = "\xef\xbb\xbf  <?xml version='1.0' encoding='latin1'?><kvtml><entries>";
    for (int i = 0; i < 20; ++i) doc += "<entry><translation><text> w\xe9rd" + std::to_string(i) + "</text><comment>h&amp;" + std::to_string(i) + "</comment></translation></entry>\n";
    doc += "</entries></kvtml>";
    std::vector<RawEntry> whole, pieces;
    std::string error;
    ASSERT_TRUE(readKvtml(doc, whole, error)) << error;
    KvtmlReader reader([&](RawEntry&& e) { pieces.push_back(std::move(e)); });
    for (std::size_t k = 0; k < doc.size(); ++k) ASSERT_TRUE(reader.feed(doc.substr(k, 1), k + 1 == doc.size(), error)) << k << error;
    ASSERT_EQ(whole.size(), 20u);
    ASSERT_EQ(pieces.size(), 20u);
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(pieces[i].phrase, whole[i].phrase);
        EXPECT_EQ(pieces[i].hint, whole[i].hint);
        EXPECT_EQ(pieces[i].line, whole[i].line);
    }
    EXPECT_EQ(whole[3].phrase, "w\xc3\xa9rd3");
    EXPECT_EQ(whole[3].hint, "h&3");
    EXPECT_EQ(whole[3].line, 4u);
}

TEST(Readers, KvtmlTakesEachEntrysFirstTranslation) {
    const std::string doc = R"(<?xml version="1.0" encoding="UTF-8"?>
<kvtml version="2.0">
  <information><comment>not an entry</comment></information>
  <entries>
    <entry id="0">
      <translation id="0"><text> bear </text><comment>Large &amp; heavy</comment></translation>
      <translation id="1"><text>Bär</text><comment>second language</comment></translation>
    </entry>
    <entry id="1"><translation id="0"><text>lynx</text></translation></entry>
    <entry id="2"><translation id="0"><text><![CDATA[r&d]]></text><comment/></translation></entry>
    <entry id="3"><translation id="0"><comment>no text</comment></translation></entry>
  </entries>
</kvtml>)";
    std::vector<RawEntry> e;
    std::string error;
    ASSERT_TRUE(readKvtml(doc, e, error)) << error;
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].phrase, "bear");
    EXPECT_EQ(e[0].hint, "Large & heavy");
    EXPECT_EQ(e[0].line, 5u);
    EXPECT_EQ(e[1].phrase, "lynx");
    EXPECT_EQ(e[1].hint, "");
    EXPECT_EQ(e[2].phrase, "r&d");
    EXPECT_EQ(e[3].phrase, "");

    // Latin-1 files are read too; other encodings and other roots are refused.
    ASSERT_TRUE(readKvtml("<?xml version='1.0' encoding='ISO-8859-1'?><kvtml><entries><entry><translation>"
                          "<text>caf\xe9</text></translation></entry></entries></kvtml>",
                          e, error))
        << error;
    EXPECT_EQ(e.at(0).phrase, "caf\xc3\xa9");
    EXPECT_FALSE(readKvtml("<?xml version='1.0' encoding='UTF-16'?><kvtml/>", e, error));
    EXPECT_FALSE(readKvtml("<html><entries/></html>", e, error));
    EXPECT_FALSE(readKvtml("<kvtml version='1'><e><o>word</o></e></kvtml>", e, error));
    EXPECT_FALSE(readKvtml("<kvtml><entries><entry></entries></kvtml>", e, error));
}

TEST(Intake, ConvertsChecksAndSkipsDuplicatesOfTheLibraryAndOfTheImport) {
    Intake intake({"cat", "Dog"}, "Animal");
    auto take = [&](const std::string& phrase, const std::string& hint = "") {
        RawEntry e;
        e.phrase = phrase;
        e.hint = hint;
        return intake.take(e);
    };
    EXPECT_EQ(take("CAT"), SkipReason::Duplicate);
    EXPECT_EQ(take("dog"), SkipReason::Duplicate);
    EXPECT_EQ(take("Horse", "Rides"), SkipReason::None);
    EXPECT_EQ(take("HORSE"), SkipReason::Duplicate);
    EXPECT_EQ(take("Caf\xc3\xa9"), SkipReason::None);
    EXPECT_EQ(take("\xce\xb1\xce\xb2"), SkipReason::OutsideLatin1);
    EXPECT_EQ(take("ab\xff"), SkipReason::NotUtf8);
    EXPECT_EQ(take(std::string(50'000'000, 'x')), SkipReason::PhraseTooLong);
    EXPECT_EQ(take("ab", std::string(200, 'h')), SkipReason::HintTooLong);
    EXPECT_EQ(take("42"), SkipReason::NoLetterToGuess);
    EXPECT_EQ(take("x"), SkipReason::PhraseTooShort);
    EXPECT_EQ(take("ok", "a:b"), SkipReason::HintHoldsTerminator);
    EXPECT_EQ(intake.records(), "horse;Rides:caf\xe9;Animal:");
    EXPECT_EQ(intake.added(), 2u);
    EXPECT_EQ(intake.skipped(SkipReason::Duplicate), 3u);
    EXPECT_EQ(intake.skippedTotal(), 10u);

    Intake plain({}, "");
    RawEntry e;
    e.phrase = "Hello World";
    EXPECT_EQ(plain.take(e), SkipReason::None);
    EXPECT_EQ(plain.records(), "hello world;no hint available:");
}

TEST(Exporter, WhatItWritesReadsBackTheSame) {
    const std::string plain = "a, b;x \"q\":say \"hi\";Caf\xe9:  spaced ;y:plain;z:";
    const auto records = library::splitLibrary(plain);
    for (Format f : {Format::Txt, Format::Csv}) {
        const std::string text = exportRecords(records, f);
        const auto back = f == Format::Txt ? readTxt(text) : readCsv(text);
        ASSERT_EQ(back.size(), records.size()) << formatName(f);
        for (std::size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i].phrase, latin1ToUtf8(records[i].phrase)) << formatName(f);
            EXPECT_EQ(back[i].hint, latin1ToUtf8(records[i].hint)) << formatName(f);
        }
    }
    EXPECT_EQ(exportRecords(library::splitLibrary("ab;c:"), Format::Csv), "ab,c\r\n");
}
