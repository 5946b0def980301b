// Word lists as players bring them: spreadsheets saved as CSV with a header
// row, semicolons or tabs, old Mac line ends; dictionaries full of
// possessives; vocabulary files with long hints.
#include <gtest/gtest.h>

#include "cli/HeaderRow.h"
#include "cli/Importers.h"
#include "cli/ShownText.h"
#include "cli/WordForms.h"
#include "library/PuzzleLibrary.h"
#include "tests/cli/ToolRun.h"

using namespace cli;
using namespace tool_test;

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::pair<std::string, std::string>> pairs(const std::vector<RawEntry>& entries) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& e : entries) out.emplace_back(e.phrase, e.hint);
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

const std::string kFrameStart = library::recordText(library::kStartPhrase, library::kStartHint);
const std::string kFrameEnd = library::recordText(library::kEndPhrase, library::kEndHint);

}  // namespace

TEST(CsvLayout, TheSeparatorIsTheOneTheRowsShow) {
    // Semicolons, with commas inside the hints: a German spreadsheet.
    CsvRead r = readCsv("Haus;Ein Geb\xc3\xa4ude, oft mit Garten\nBaum;Gro\xc3\x9f, gr\xc3\xbcn\nHund;Tier\n", {});
    EXPECT_EQ(r.separator, ';');
    EXPECT_EQ(pairs(r.entries), (Pairs{{"Haus", "Ein Geb\xc3\xa4ude, oft mit Garten"},
                                       {"Baum", "Gro\xc3\x9f, gr\xc3\xbcn"},
                                       {"Hund", "Tier"}}));
    // Tabs, with commas and semicolons in the text.
    r = readCsv("hello, world\tA greeting; friendly\nbye\tParting\n", {});
    EXPECT_EQ(r.separator, '\t');
    EXPECT_EQ(pairs(r.entries), (Pairs{{"hello, world", "A greeting; friendly"}, {"bye", "Parting"}}));
    // Commas; a semicolon inside quotes does not count.
    r = readCsv("\"a; b\",letters\nplum,fruit\n", {});
    EXPECT_EQ(r.separator, ',');
    EXPECT_EQ(pairs(r.entries), (Pairs{{"a; b", "letters"}, {"plum", "fruit"}}));
    // One column: nothing to find, the comma stands.
    EXPECT_EQ(readCsv("apple\npear\n", {}).separator, ',');
    // Quoted semicolon fields as spreadsheets write them.
    r = readCsv("\"Eichh\xc3\xb6rnchen\";\"Ein Tier; rot\"\r\n\"Tisch\";\"M\xc3\xb6" "bel\"\r\n", {});
    EXPECT_EQ(r.separator, ';');
    EXPECT_EQ(pairs(r.entries), (Pairs{{"Eichh\xc3\xb6rnchen", "Ein Tier; rot"}, {"Tisch", "M\xc3\xb6" "bel"}}));
    // A separator given is taken as it is.
    CsvLayout given;
    given.separator = ',';
    r = readCsv("Haus;Geb\xc3\xa4ude\n", given);
    EXPECT_EQ(pairs(r.entries), (Pairs{{"Haus;Geb\xc3\xa4ude", ""}}));
}

TEST(CsvLayout, AHeaderRowIsSkippedAndTellsWhichColumnIsWhich) {
    CsvRead r = readCsv("Phrase,Hint\nhello world,A greeting\n", {});
    EXPECT_TRUE(r.headerSkipped);
    EXPECT_EQ(pairs(r.entries), (Pairs{{"hello world", "A greeting"}}));
    // The hint first, and a third column the header names: taken apart by name.
    r = readCsv("Hinweis;Begriff;Kategorie\nEin Tier;Hund;Tiere\nM\xc3\xb6" "bel;Tisch;Haus\n", {});
    EXPECT_TRUE(r.headerSkipped);
    EXPECT_EQ(pairs(r.entries), (Pairs{{"Hund", "Ein Tier"}, {"Tisch", "M\xc3\xb6" "bel"}}));
    EXPECT_EQ(r.entries[0].fault, SkipReason::None);
    EXPECT_EQ(r.entries[0].line, 2u);
    // A column beyond those the header names is still too many.
    r = readCsv("Word,Clue\ncat,pet,extra\n", {});
    EXPECT_EQ(r.entries[0].fault, SkipReason::TooManyColumns);
    // French, Spanish, Italian, Dutch headers, in capitals and with marks around.
    for (const char* header : {"MOT;INDICE", "Frase\tPista", "parola,suggerimento", "\"Woord\";\"Aanwijzing\"",
                               "R\xc3\x89PONSE;D\xc3\x89" "FINITION", "# Word: , Hint:"}) {
        EXPECT_TRUE(readCsv(std::string(header) + "\nsun\n", {}).headerSkipped) << header;
    }
    // Rows that merely hold a header word are puzzles.
    for (const char* row : {"plain,hint", "Haus;Geb\xc3\xa4ude", "word of mouth,Rumour", "hint,hint,x"}) {
        EXPECT_FALSE(readCsv(std::string(row) + "\nsun,star\n", {}).headerSkipped) << row;
    }
    // --header yes and no overrule the guess.
    CsvLayout yes, no;
    yes.header = HeaderRule::Yes;
    no.header = HeaderRule::No;
    EXPECT_EQ(pairs(readCsv("Spalte A;Spalte B\nsun;star\n", yes).entries), (Pairs{{"sun", "star"}}));
    EXPECT_EQ(readCsv("Phrase,Hint\nsun,star\n", no).entries.size(), 2u);
}

TEST(CsvLayout, OldMacLineEndsAreRowsInCsvAndTxt) {
    CsvRead r = readCsv("apple,fruit\rpear,\"also\rfruit\"\rplum,stone fruit\r", {});
    EXPECT_EQ(pairs(r.entries), (Pairs{{"apple", "fruit"}, {"pear", "also\rfruit"}, {"plum", "stone fruit"}}));
    EXPECT_EQ(r.entries[2].line, 4u);   // the CR inside the quotes ends a line too
    const auto t = readTxt("one;first\rtwo;second\r\rthree\r\nfour");
    EXPECT_EQ(pairs(t), (Pairs{{"one", "first"}, {"two", "second"}, {"three", ""}, {"four", ""}}));
    EXPECT_EQ(t[2].line, 4u);
}

TEST(HeaderWords, NameThePhraseTheHintOrAnotherColumn) {
    EXPECT_EQ(headerRole("Phrase"), ColumnRole::Phrase);
    EXPECT_EQ(headerRole("  L\xc3\x96SUNG: "), ColumnRole::Phrase);
    EXPECT_EQ(headerRole("Antwoord"), ColumnRole::Phrase);
    EXPECT_EQ(headerRole("clue"), ColumnRole::Hint);
    EXPECT_EQ(headerRole("Indizio"), ColumnRole::Hint);
    EXPECT_EQ(headerRole("Kategorie"), ColumnRole::Other);
    EXPECT_EQ(headerRole("banana"), ColumnRole::None);
    EXPECT_EQ(headerRole(""), ColumnRole::None);
    EXPECT_FALSE(looksLikeHeader({"Category", "Comment"})) << "names neither the phrase nor the hint";
    EXPECT_TRUE(looksLikeHeader({"Word", "", ""}));
}

TEST(WordForms, PossessivesAreSingleWordsEndingInApostropheS) {
    for (const char* p : {"Aaron's", "cat's", "Bj\xc3\xb6rn's", "dog\xe2\x80\x99s"}) EXPECT_TRUE(isPossessive(p)) << p;
    for (const char* p : {"'s", "cats", "it's raining", "Tom's cabin", "boss", "s"}) EXPECT_FALSE(isPossessive(p)) << p;
}

TEST(WordForms, ALongHintIsCutAtAWordBoundaryWithAnEllipsis) {
    EXPECT_EQ(shortenedHint("fits as it is", 34), "fits as it is");
    const std::string exact(34, 'x');
    EXPECT_EQ(shortenedHint(exact, 34), exact);
    EXPECT_EQ(shortenedHint("A large animal with a trunk that lives in Africa", 34), "A large animal with a trunk...");
    EXPECT_EQ(shortenedHint("aaaa bbbb cccc dddd eeee ffff gggg hhhh", 34), "aaaa bbbb cccc dddd eeee ffff...");
    // The cut falls on a blank: the word before it stays whole.
    EXPECT_EQ(shortenedHint("aaaa bbbb cccc dddd eeee ffff g hhhh", 34), "aaaa bbbb cccc dddd eeee ffff g...");
    // Marks before the cut go.
    EXPECT_EQ(shortenedHint("one, two, three, four, five, six, seven", 34), "one, two, three, four, five...");
    // One word longer than the room is cut inside it.
    EXPECT_EQ(shortenedHint(std::string(40, 'w'), 34), std::string(31, 'w') + "...");
    // Characters, not bytes: 40 umlauts are 80 bytes.
    std::string umlauts;
    for (int i = 0; i < 40; ++i) umlauts += "\xc3\xa4";
    const std::string cut = shortenedHint(umlauts, 34);
    EXPECT_EQ(characterCount(cut), 34u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    for (const std::string& hint : {std::string("Das Eichh\xc3\xb6rnchen klettert auf den hohen Baum im Wald"),
                                    std::string("x y z ") + std::string(60, 'q')}) {
        EXPECT_LE(characterCount(shortenedHint(hint, 34)), 34u) << hint;
    }
}

TEST(ShownText, ControlBytesAreVisibleAndEveryOtherCharacterTakesOneColumn) {
    EXPECT_EQ(shownText("caf\xe9").utf8, "caf\xc3\xa9");
    EXPECT_EQ(shownText("caf\xe9").width, 4u);
    EXPECT_EQ(shownText("a\nb\tc\x7f").utf8, "a^Jb^Ic^?");
    EXPECT_EQ(shownText("a\nb\tc\x7f").width, 9u);
    EXPECT_EQ(shownText("\x85x").utf8, "<85>x");
    EXPECT_EQ(paddedTo(shownText("\xfc" "ber"), 6), "\xc3\xbc" "ber  ");
}

// The tool itself on spreadsheets a player saves.
TEST(Spreadsheets, AGermanSemicolonSheetWithAHeaderComesInWhole) {
    TempFolder f("sheet");
    writeBytes(f / "W\xc3\xb6rter.csv",
               "\xef\xbb\xbf\"Begriff\";\"Hinweis\"\r\n"
               "\"Eichh\xc3\xb6rnchen\";\"Tier, rot\"\r\n"
               "\"Stra\xc3\x9f" "e\";\"Weg in der Stadt\"\r\n"
               "Gl\xc3\xbchwein;Getr\xc3\xa4nk, hei\xc3\x9f\r\n");
    const auto r = runTool({"--dir", f.dir(), "import", (f / "W\xc3\xb6rter.csv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(csv, semicolon, header row skipped): 3 entries, 3 new puzzles")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()), kFrameStart +
                                          "eichh\xf6rnchen;Tier, rot:stra\xdf" "e;Weg in der Stadt:"
                                          "gl\xfchwein;Getr\xe4nk, hei\xdf:" +
                                          kFrameEnd);
    // Listed in columns that line up, whatever the umlauts.
    const auto list = runTool({"--dir", f.dir(), "list"});
    EXPECT_TRUE(contains(list.out, "2  eichh\xc3\xb6rnchen" + std::string(38 - 12, ' ') + "  Tier, rot\n")) << list.out;
    EXPECT_TRUE(contains(list.out, "4  gl\xc3\xbchwein" + std::string(38 - 8, ' ') + "  Getr")) << list.out;
}

TEST(Spreadsheets, TabsAndASeparatorGivenAndAFileThatAddsNothing) {
    TempFolder f("tabs");
    writeBytes(f / "words.tsv", "Word\tClue\nhello, world\tA greeting\nsunflower\tA tall plant, yellow\n");
    auto r = runTool({"--dir", f.dir(), "import", "--separator", "tab", (f / "words.tsv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(csv, tab, header row skipped): 2 entries, 2 new puzzles")) << r.out;
    EXPECT_TRUE(contains(plainLibrary(f.path()), "hello, world;A greeting:"));

    // The same read with the wrong separator adds nothing: exit 1, and why.
    TempFolder g("wrong");
    writeBytes(g / "words.csv", "Haus;Geb\xc3\xa4ude: Wohnort\nBaum;Pflanze: gro\xc3\x9f\n");
    const std::string before = readBytes(g / "words.csv");
    r = runTool({"--dir", g.dir(), "import", "--separator", ",", (g / "words.csv").string()});
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_TRUE(contains(r.err, "no puzzle added from 2 entries; the columns may be split by another character"))
        << r.err;
    EXPECT_FALSE(fs::exists(g / "OnLoad.dat"));
    EXPECT_TRUE(contains(r.out, "Nothing was written to " + g.dir() + "/OnLoad.dat")) << r.out;
    // An empty list is no error: nothing held, nothing to add.
    writeBytes(g / "empty.csv", "");
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", (g / "empty.csv").string()}).exitCode, 0);
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", "--separator", "|", (g / "words.csv").string()}).exitCode, 2);
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", "--header", "maybe", (g / "words.csv").string()}).exitCode, 2);
}

TEST(Spreadsheets, HeaderRowsOfTxtListsAndTheHeaderOption) {
    TempFolder f("txthead");
    writeBytes(f / "list.txt", "Phrase;Hint\nkiwi;A fruit\n");
    auto r = runTool({"--dir", f.dir(), "import", (f / "list.txt").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(txt, header row skipped): 1 entries, 1 new puzzles")) << r.out;
    writeBytes(f / "named.txt", "Answer;Question\nplum;Which fruit?\n");
    r = runTool({"--dir", f.dir(), "import", "--header", "no", (f / "named.txt").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(plainLibrary(f.path()), "answer;Question:plum;Which fruit?:"));
    // An old Mac export: rows end in CR alone.
    writeBytes(f / "mac.csv", "Word,Hint\rpeach,Fruit\rmango,Fruit\r");
    r = runTool({"--dir", f.dir(), "import", (f / "mac.csv").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(csv, comma, header row skipped): 2 entries, 2 new puzzles")) << r.out;
}

TEST(WordLists, PossessivesAreSkippedUnlessKeptAndLongHintsShortenedOnRequest) {
    TempFolder f("forms");
    writeBytes(f / "dict", "Aaron\nAaron's\napple\napple's\nit's\nTom's cabin\n");
    auto r = runTool({"--dir", f.dir(), "import", (f / "dict").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Added 3 puzzles")) << r.out;
    EXPECT_TRUE(contains(r.out, "3  a possessive \"'s\" form of a word")) << r.out;
    EXPECT_TRUE(contains(r.out, "Note: --keep-possessives keeps them.")) << r.out;
    TempFolder g("kept");
    r = runTool({"--dir", g.dir(), "import", "--keep-possessives", (f / "dict").string()});
    EXPECT_TRUE(contains(r.out, "Added 6 puzzles")) << r.out;
    // A hinted entry is never taken for a possessive.
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", "-"}, "Peter's;A name\n").exitCode, 0);

    const std::string longHint = "A large grey animal with a trunk and big ears";
    writeBytes(f / "long.txt", "elephant;" + longHint + "\nmouse;Small\nowl;Bird\n");
    TempFolder h("long");
    r = runTool({"--dir", h.dir(), "import", (f / "long.txt").string()});
    EXPECT_TRUE(contains(r.out, "1  hint longer than 34 characters")) << r.out;
    EXPECT_TRUE(contains(r.out, "Note: --long-hints shorten keeps these")) << r.out;
    r = runTool({"--dir", h.dir(), "import", "--long-hints", "shorten", (f / "long.txt").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "1 hint(s) cut to fit 34 characters")) << r.out;
    EXPECT_TRUE(contains(plainLibrary(h.path()), "elephant;A large grey animal with a...:")) << plainLibrary(h.path());
    EXPECT_EQ(runTool({"--dir", h.dir(), "check"}).exitCode, 0);
    EXPECT_EQ(runTool({"--dir", h.dir(), "import", "--long-hints", "cut", (f / "long.txt").string()}).exitCode, 2);
}

TEST(Conventions, VersionHelpAndUnknownOptions) {
    auto r = runTool({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string("tarvik-kxv-library ") + TARVIK_VERSION + "\n");
    EXPECT_EQ(runTool({"list", "--version"}).out, r.out);
    r = runTool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* part : {"--version", "import [--format", "--long-hints", "Exit codes"})
        EXPECT_TRUE(contains(r.out, part)) << part << "\n" << r.out;
    r = runTool({"import", "--help"});
    for (const char* option : {"--long-hints", "--keep-possessives", "--header", "--separator"})
        EXPECT_TRUE(contains(r.out, option)) << option;
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--frobnicate"}, {"-x", "list"}, {"list", "--long-hints", "shorten"},
          {"import", "--keep-possessives=yes", "x"}, {"--version=2"}}) {
        r = runTool(wrong);
        EXPECT_EQ(r.exitCode, 2) << wrong[0];
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(CsvLayout, SeparatorsInsideQuotedFieldsDoNotChooseTheSeparator) {
    // A comma list (as export writes it) whose one quoted hint holds
    // semicolons and line ends: read with ";", its quotes would be stray.
    const std::string text = "\"owl\",\"a;b\nc;d\ne;f\"\r\nlark,Song bird\r\n";
    const CsvRead r = readCsv(text, {});
    EXPECT_EQ(r.separator, ',');
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].phrase, "owl");
    EXPECT_EQ(r.entries[0].hint, "a;b\nc;d\ne;f");
    EXPECT_EQ(r.entries[1].phrase, "lark");
}
