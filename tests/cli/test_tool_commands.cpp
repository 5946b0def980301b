// The library tool as a player runs it: every command against fixture
// files in a temporary folder, hostile files included.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "library/PuzzleFile.h"
#include "library/PuzzleLibrary.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

// Seven records: the first and the last are never drawn.
const std::string kLibrary =
    "first;opening record:cat;Animal:dog;Pet:Caf\xe9 au lait;Drink:owl;Night bird:sun;star:last;closing record:";

const std::string kFrameStart = library::recordText(library::kStartPhrase, library::kStartHint);
const std::string kFrameEnd = library::recordText(library::kEndPhrase, library::kEndHint);

// The plain library before its last record, then the last record.
std::string withBeforeLast(const std::string& added) {
    return "first;opening record:cat;Animal:dog;Pet:Caf\xe9 au lait;Drink:owl;Night bird:sun;star:" + added +
           "last;closing record:";
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(ToolCommands, ListNumbersEveryRecordAndGrepIgnoresCase) {
    TempFolder f("list");
    writePlainLibrary(f.path(), kLibrary);
    const auto all = runTool({"--dir", f.dir(), "list"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out,
              "1  first                                   opening record\n"
              "2  cat                                     Animal\n"
              "3  dog                                     Pet\n"
              "4  Caf\xc3\xa9 au lait                            Drink\n"
              "5  owl                                     Night bird\n"
              "6  sun                                     star\n"
              "7  last                                    closing record\n");
    const auto some = runTool({"list", "--grep", "CAF\xc3\x89", "--dir", f.dir()});
    EXPECT_EQ(some.exitCode, 0);
    EXPECT_EQ(some.out, "4  Caf\xc3\xa9 au lait                            Drink\n");
    const auto byHint = runTool({"--dir", f.dir(), "list", "--grep=night"});
    EXPECT_EQ(byHint.out, "5  owl                                     Night bird\n");
    EXPECT_TRUE(runTool({"--dir", f.dir(), "list", "--grep", "nothing like it"}).out.empty());
    // Reading takes nothing away: the lock is let go, no other file is made.
    EXPECT_EQ(plainLibrary(f.path()), kLibrary);
    EXPECT_TRUE(filesStartingWith(f.path(), "OnLoad.dat.").empty());
}

TEST(ToolCommands, ExportWritesUtf8TxtAndCsv) {
    TempFolder f("export");
    writePlainLibrary(f.path(), "a, b;x \"q\":say \"hi\";Caf\xe9:");
    const auto txt = runTool({"--dir", f.dir(), "export"});
    ASSERT_EQ(txt.exitCode, 0);
    EXPECT_EQ(txt.out, "a, b;x \"q\"\nsay \"hi\";Caf\xc3\xa9\n");
    const auto csv = runTool({"--dir", f.dir(), "export", "--format", "csv"});
    EXPECT_EQ(csv.out, "\"a, b\",\"x \"\"q\"\"\"\r\n\"say \"\"hi\"\"\",Caf\xc3\xa9\r\n");
    EXPECT_EQ(runTool({"--dir", f.dir(), "export", "--format", "kvtml"}).exitCode, 2);
    // A full output device is a failure, not a silent loss.
    const int rc = std::system((std::string(TARVIK_LIBRARY_TOOL) + " --dir " + f.dir() + " export > /dev/full 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(rc), 1);
}

TEST(ToolCommands, AddKeepsTheAddWindowsRulesAndGoesBeforeTheLastRecord) {
    TempFolder f("add");
    writePlainLibrary(f.path(), kLibrary);
    auto r = runTool({"--dir", f.dir(), "add", "Hello World", "A Greeting"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "hello world / A Greeting")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("hello world;A Greeting:"));

    r = runTool({"--dir", f.dir(), "add", "--", "-dash"});   // no hint; "--" ends the options
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("hello world;A Greeting:-dash;no hint available:"));

    const std::string before = readBytes(f / "OnLoad.dat");
    struct Refused {
        std::vector<std::string> args;
        const char* why;
    };
    const Refused refused[] = {
        {{"HELLO WORLD"}, "already in the library"},
        {{"CAF\xc3\x89 AU LAIT"}, "already in the library"},
        {{"x"}, "shorter than 2"},
        {{std::string(39, 'a')}, "longer than 38"},
        {{"ok", std::string(35, 'h')}, "longer than 34"},
        {{"semi;colon"}, "holds \";\""},
        {{"ok", "a:b"}, "hint holds"},
        {{"tab\there"}, "control character"},
        {{"2024"}, "no letter"},
        {{"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"}, "outside Latin-1"},
        {{"bad\xff"}, "not valid UTF-8"},
    };
    for (const auto& x : refused) {
        std::vector<std::string> args = {"--dir", f.dir(), "add"};
        args.insert(args.end(), x.args.begin(), x.args.end());
        r = runTool(args);
        EXPECT_EQ(r.exitCode, 1) << x.args[0];
        EXPECT_TRUE(contains(r.err, x.why)) << x.args[0] << ": " << r.err;
    }
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);
    EXPECT_EQ(runTool({"--dir", f.dir(), "add"}).exitCode, 2);
    EXPECT_EQ(runTool({"--dir", f.dir(), "add", "a", "b", "c"}).exitCode, 2);
}

TEST(ToolCommands, AddToAFolderWithoutALibraryFramesIt) {
    TempFolder f("fresh");
    ASSERT_EQ(runTool({"--dir", f.dir(), "add", "first puzzle", "one"}).exitCode, 0);
    EXPECT_EQ(plainLibrary(f.path()), kFrameStart + "first puzzle;one:" + kFrameEnd);
    // The frame's own phrases are taken.
    EXPECT_EQ(runTool({"--dir", f.dir(), "add", library::kEndPhrase}).exitCode, 1);
    // A folder named by --dir that is not there yet is made for a change.
    const auto r = runTool({"--dir", f.dir() + "/new/folder", "add", "ab"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Written to " + f.dir() + "/new/folder/OnLoad.dat\n")) << r.out;
    EXPECT_EQ(plainLibrary(f / "new/folder"), kFrameStart + "ab;no hint available:" + kFrameEnd);
}

TEST(ToolCommands, DeleteTakesOutTheNumberedRecord) {
    TempFolder f("delete");
    writePlainLibrary(f.path(), kLibrary);
    auto r = runTool({"--dir", f.dir(), "delete", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Deleted record 3: dog / Pet")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()),
              "first;opening record:cat;Animal:Caf\xe9 au lait;Drink:owl;Night bird:sun;star:last;closing record:");
    const std::string before = readBytes(f / "OnLoad.dat");
    for (const char* bad : {"0", "-1", "x", "2x", "99999999999999999999999"}) {
        r = runTool({"--dir", f.dir(), "delete", bad});
        EXPECT_EQ(r.exitCode, 2) << bad;
    }
    EXPECT_EQ(runTool({"--dir", f.dir(), "delete", "7"}).exitCode, 1);   // six are left
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);
    r = runTool({"--dir", f.dir(), "delete", "6"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(contains(r.out, "now the last")) << r.out;
}

TEST(ToolCommands, ImportTxtAddsWhatFitsAndCountsEachReason) {
    TempFolder f("txt");
    writePlainLibrary(f.path(), kLibrary);
    const auto r = runTool({"--dir", f.dir(), "import", "--verbose", fixture("words.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(plainLibrary(f.path()),
              withBeforeLast("apple;A fruit:banana;Yellow fruit:cherry;no hint available:caf\xe9;coffee house:"
                             "lemon;sour:melon;no hint available:plum;no hint available:"));
    EXPECT_TRUE(contains(r.out, "(txt): 15 entries, 7 new puzzles")) << r.out;
    EXPECT_TRUE(contains(r.out, "Added 7 puzzles to " + f.dir() + "/OnLoad.dat; skipped 8:")) << r.out;
    for (const char* reason : {"1  already in the library", "1  phrase shorter than 2", "1  phrase longer than 38",
                               "1  hint longer than 34", "1  hint holds", "1  phrase has no letter",
                               "1  a character the game cannot show", "1  not valid UTF-8"}) {
        EXPECT_TRUE(contains(r.out, reason)) << reason << "\n" << r.out;
    }
    // --verbose names the line of each skipped entry.
    EXPECT_TRUE(contains(r.out, "words.txt:6: skipped, already in the library")) << r.out;
    EXPECT_TRUE(contains(r.out, "words.txt:17: skipped, not valid UTF-8")) << r.out;
    EXPECT_TRUE(contains(r.out, "The library holds 14 records; New Game draws from 12 of them.")) << r.out;

    // The same again adds nothing, writes nothing, and says why with exit 1.
    const std::string before = readBytes(f / "OnLoad.dat");
    const auto again = runTool({"--dir", f.dir(), "import", fixture("words.txt")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(contains(again.out, "Added no puzzles; skipped 15:")) << again.out;
    EXPECT_TRUE(contains(again.out, "Nothing was written to " + f.dir() + "/OnLoad.dat")) << again.out;
    EXPECT_TRUE(contains(again.err, "no puzzle added from 15 entries; the puzzles are already in the library"))
        << again.err;
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);
}

TEST(ToolCommands, ImportCsvWithQuotesAndLineEndsInFields) {
    TempFolder f("csv");
    writePlainLibrary(f.path(), kLibrary);
    const auto r = runTool({"--dir", f.dir(), "import", fixture("quotes.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(csv, comma): 10 entries, 5 new puzzles")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()),
              withBeforeLast("say \"cheese\";photo:a, b, c;letters:plain;hint, with comma:cr\xe8me br\xfbl\xe9"
                             "e;dessert:padded;row:"));
    for (const char* reason : {"2  a line end or another control", "1  a character the game cannot show",
                               "1  more than two columns", "1  a quoted field without its closing quote"}) {
        EXPECT_TRUE(contains(r.out, reason)) << reason << "\n" << r.out;
    }
}

TEST(ToolCommands, ImportKvtmlWithMissingCommentsAndWordsOutsideLatin1) {
    TempFolder f("kvtml");
    writePlainLibrary(f.path(), kLibrary);
    auto r = runTool({"--dir", f.dir(), "import", "--hint", "Word list", fixture("mixed.kvtml")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "(kvtml): 9 entries, 4 new puzzles")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()),
              withBeforeLast("badger;Word list:salt & pepper;Seasoning:fish & chips;Word list:na\xefve;Trusting:"));
    for (const char* reason : {"2  already in the library", "2  a character the game cannot show",
                               "1  phrase shorter than 2"}) {
        EXPECT_TRUE(contains(r.out, reason)) << reason << "\n" << r.out;
    }
    // Without --hint an entry without a comment gets the game's own text;
    // --format overrides what the content suggests.
    TempFolder g("kvtml2");
    r = runTool({"--dir", g.dir(), "import", "--format", "kvtml", fixture("mixed.kvtml")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(plainLibrary(g.path()), "badger;no hint available:"));
    // A hint the add window would not take is refused before anything is read.
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", "--hint", "a:b", fixture("mixed.kvtml")}).exitCode, 2);
    EXPECT_EQ(runTool({"--dir", g.dir(), "import", "--format", "xls", fixture("mixed.kvtml")}).exitCode, 2);
}

TEST(ToolCommands, HostileFilesChangeNothing) {
    TempFolder f("hostile");
    writePlainLibrary(f.path(), kLibrary);
    const std::string before = readBytes(f / "OnLoad.dat");

    std::mt19937 random(13);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    writeBytes(f / "garbage.bin", garbage);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", (f / "garbage.bin").string()},
          std::vector<std::string>{"import", "--format", "txt", (f / "garbage.bin").string()},
          std::vector<std::string>{"import", "--format", "kvtml", (f / "garbage.bin").string()},
          std::vector<std::string>{"import", fixture("broken.kvtml")},
          std::vector<std::string>{"import", fixture("words.txt"), (f / "missing.txt").string()},
          std::vector<std::string>{"import", fixture("words.txt"), f.dir()}}) {
        std::vector<std::string> full = {"--dir", f.dir()};
        full.insert(full.end(), args.begin(), args.end());
        const auto r = runTool(full);
        EXPECT_EQ(r.exitCode, 1) << args.back() << "\n" << r.out;
        EXPECT_TRUE(contains(r.err, "Nothing was imported")) << r.err;
    }
    EXPECT_TRUE(contains(runTool({"--dir", f.dir(), "import", fixture("broken.kvtml")}).err, "line 5"));
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);

    // A 50 MB line is skipped; the line after it still comes in, quickly.
    {
        std::string big(50 * 1024 * 1024, 'w');
        big += ";a hint\nafter the big one;fine\n";
        writeBytes(f / "big.txt", big);
    }
    const auto start = std::chrono::steady_clock::now();
    const auto r = runTool({"--dir", f.dir(), "import", (f / "big.txt").string()});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Added 1 puzzle to " + f.dir() + "/OnLoad.dat; skipped 1:")) << r.out;
    EXPECT_TRUE(contains(r.out, "1  phrase longer than 38")) << r.out;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("after the big one;fine:"));
    EXPECT_LT(seconds, 5.0);
}

TEST(ToolCommands, StandardInputAndADryRun) {
    TempFolder f("stdin");
    writePlainLibrary(f.path(), kLibrary);
    const std::string before = readBytes(f / "OnLoad.dat");
    auto r = runTool({"--dir", f.dir(), "import", "--dry-run", "-"}, "kiwi;fruit\nmango;fruit\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Would add 2 puzzles")) << r.out;
    EXPECT_EQ(readBytes(f / "OnLoad.dat"), before);
    r = runTool({"--dir", f.dir(), "import", "-"}, "kiwi,fruit\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("kiwi;fruit:"));
}

TEST(ToolCommands, CheckNamesEveryKindOfProblem) {
    TempFolder f("check");
    writePlainLibrary(f.path(), kLibrary);
    auto r = runTool({"--dir", f.dir(), "check"});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(contains(r.out, "No problems found.")) << r.out;

    writePlainLibrary(f.path(),
                      "first;1:1984;a year:Cat;dup:cat;again:" + std::string(39, 'p') + ";long:ok;" +
                          std::string(35, 'h') + ":line\nend;x:\xe0\xe9;accents:semi;a;b:last;cut");
    r = runTool({"--dir", f.dir(), "check"});
    EXPECT_EQ(r.exitCode, 3) << r.out;
    for (const char* finding :
         {"record 2 (1984): phrase has no letter", "record 4 (cat): the same phrase as record 3",
          "record 5 (ppp", "over the limit of 38", "record 6 (ok): hint of 35 characters",
          "record 7 (line^Jend): phrase holds the byte 0x0A", "record 8 (\xc3\xa0\xc3\xa9): phrase has no letter",
          "record 9 (semi): hint holds \";\"", "record 10 (last): cut: the last record has no closing \":\"",
          "library: the game counts 9 drawable records, but 8 stand"}) {
        EXPECT_TRUE(contains(r.out, finding)) << finding << "\n" << r.out;
    }
    writePlainLibrary(f.path(), "a1;x:b1;y:c1;z:\r\n");
    r = runTool({"--dir", f.dir(), "check"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(contains(r.out, "record 4 (^M^J): cut: text after the last record")) << r.out;
    EXPECT_TRUE(contains(r.out, "the game draws nothing")) << r.out;
}

TEST(ToolCommands, WithoutOnLoadDatTheLibraryIsReadAsTheGameWould) {
    TempFolder f("plain");
    writeBytes(f / "KXData.dat", kLibrary);   // the game left it readable: killed, say
    auto r = runTool({"--dir", f.dir(), "add", "new one", "fresh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "read from KXData.dat")) << r.err;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("new one;fresh:"));
    EXPECT_EQ(readBytes(f / "KXData.dat"), kLibrary);   // start-up replaces it from OnLoad.dat

    // The placeholder of an orderly exit is no library.
    TempFolder g("purged");
    writeBytes(g / "KXData.dat", library::kPurgedText);
    ASSERT_EQ(runTool({"--dir", g.dir(), "add", "ab"}).exitCode, 0);
    EXPECT_EQ(plainLibrary(g.path()), kFrameStart + "ab;no hint available:" + kFrameEnd);

    // A library that is there but cannot be read is never written over.
    TempFolder h("unreadable");
    std::filesystem::create_directory(h / "OnLoad.dat");
    r = runTool({"--dir", h.dir(), "import", fixture("words.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(std::filesystem::is_directory(h / "OnLoad.dat"));
}

TEST(ToolCommands, WithoutDirItUsesTheFolderBesideItself) {
    TempFolder f("beside");
    const auto copy = f / "tarvik-kxv-library";
    std::filesystem::copy_file(TARVIK_LIBRARY_TOOL, copy);
    writePlainLibrary(f.path(), kLibrary);
    const auto r = runTool({"add", "beside", "it"}, "", copy.string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(plainLibrary(f.path()), withBeforeLast("beside;it:"));
}

TEST(ToolCommands, HelpAndWrongUsage) {
    for (const char* command : {"list", "add", "delete", "import", "export", "check"}) {
        const auto r = runTool({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(contains(r.out, std::string("Usage: tarvik-kxv-library [--dir DIR] ") + command)) << r.out;
        EXPECT_EQ(runTool({"help", command}).out, r.out);
    }
    EXPECT_EQ(runTool({"--help"}).exitCode, 0);
    EXPECT_EQ(runTool({}).exitCode, 2);
    EXPECT_EQ(runTool({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(runTool({"list", "--verbose"}).exitCode, 2);
    EXPECT_EQ(runTool({"list", "--nope"}).exitCode, 2);
    EXPECT_EQ(runTool({"list", "--grep"}).exitCode, 2);
    EXPECT_EQ(runTool({"list", "extra"}).exitCode, 2);
}
