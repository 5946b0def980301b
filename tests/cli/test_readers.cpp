// The word-list readers, the conversion to the game's 8-bit text, and the
// intake that turns entries into records.
#include <gtest/gtest.h>

#include <string>

#include "cli/Exporter.h"
#include "cli/Importers.h"
#include "cli/Intake.h"
#include "cli/Latin1.h"
#include "cli/XmlReader.h"

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

TEST(XmlReader, EntitiesCdataCommentsAndMistakes) {
    XmlReader xml("<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a ANY>]><!-- c --><a x=\"1\" y='2'>"
                  "t&amp;&lt;&#233;&#x20AC;<![CDATA[<raw>&amp;]]><!-- inside --><b/></a>\n");
    ASSERT_EQ(xml.next(), XmlReader::Token::Start);
    EXPECT_EQ(xml.name(), "a");
    ASSERT_EQ(xml.next(), XmlReader::Token::Text);
    EXPECT_EQ(xml.text(), "t&<\xc3\xa9\xe2\x82\xac");
    ASSERT_EQ(xml.next(), XmlReader::Token::Text);
    EXPECT_EQ(xml.text(), "<raw>&amp;");
    ASSERT_EQ(xml.next(), XmlReader::Token::Start);
    EXPECT_EQ(xml.name(), "b");
    EXPECT_EQ(xml.next(), XmlReader::Token::End);
    EXPECT_EQ(xml.next(), XmlReader::Token::End);
    EXPECT_EQ(xml.next(), XmlReader::Token::Finished);

    for (const char* broken : {"<a><b></a>", "<a>", "<a>&nbsp;</a>", "<a x=1/>", "<a/><b/>", "<a><!-- x</a>",
                               "", "text", "<a>&#0;</a>", "<a><![CDATA[x</a>"}) {
        XmlReader r(broken);
        XmlReader::Token t;
        do t = r.next();
        while (t != XmlReader::Token::Error && t != XmlReader::Token::Finished);
        EXPECT_EQ(t, XmlReader::Token::Error) << broken;
        EXPECT_FALSE(r.error().empty());
    }
}

TEST(XmlReader, DeepNestingIsNoProblem) {
    std::string doc;
    for (int i = 0; i < 200000; ++i) doc += "<a>";
    for (int i = 0; i < 200000; ++i) doc += "</a>";
    XmlReader xml(doc);
    std::size_t tokens = 0;
    while (xml.next() == XmlReader::Token::Start || xml.depth() > 0) ++tokens;
    EXPECT_EQ(tokens, 399999u);
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
