// Debian's word lists imported whole, checked against the entries that fit
// the rules as this test works them out on its own; and the round trip of
// an export imported into an empty library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <set>

#include "library/PuzzleLibrary.h"
#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

const fs::path kKvtmlRoot = "/usr/share/apps/kvtml";

std::vector<std::string> kvtmlFiles(const std::string& language) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(kKvtmlRoot / language, ec)) {
        if (e.path().extension() == ".kvtml") files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string unescaped(std::string s) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : kEntities) {
        for (std::size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, std::strlen(from), to);
    }
    return s;
}

std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// UTF-8 to code points; the game's bytes when every one is at most U+00FF.
bool toLatin1(const std::string& utf8, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        unsigned cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) cp = b & 0x07, n = 4;
        else if (b >= 0xE0) cp = b & 0x0F, n = 3;
        else if (b >= 0xC0) cp = b & 0x1F, n = 2;
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (cp > 0xFF) return false;
        out.push_back(static_cast<char>(cp));
        i += n;
    }
    return true;
}

bool fits(const std::string& phrase, const std::string& hint) {
    auto printable = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u >= 32 && u != 127 && (u < 128 || u >= 160);
        });
    };
    const bool letter = std::any_of(phrase.begin(), phrase.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
    return phrase.size() >= 2 && phrase.size() <= 38 && hint.size() <= 34 && phrase.find(';') == std::string::npos &&
           hint.find_first_of(";:") == std::string::npos && printable(phrase) && printable(hint) && letter;
}

std::string caseFolded(std::string s) {
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = static_cast<char>(u + 32);
    }
    return s;
}

std::string lowerAsciiOnly(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

struct Expected {
    std::size_t entries = 0;
    std::string records;   // stored form, back to back
    std::size_t added = 0;
    std::size_t shortened = 0;   // hints over 34 characters that were cut
};

// UTF-8 as code points, and back.
std::u32string codePoints(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) cp = b & 0x07, n = 4;
        else if (b >= 0xE0) cp = b & 0x0F, n = 3;
        else if (b >= 0xC0) cp = b & 0x1F, n = 2;
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string utf8Of(const std::u32string& text) {
    std::string out;
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// A hint of more than 34 characters as --long-hints shorten should leave
// it: the words that fit in 31 characters, marks at their end dropped, "...".
std::string cutHint(const std::string& utf8) {
    const std::u32string text = codePoints(utf8);
    if (text.size() <= 34) return utf8;
    std::u32string kept = text.substr(0, 31);
    if (text[31] != U' ') {
        const auto blank = kept.rfind(U' ');
        if (blank != std::u32string::npos && blank > 0) kept.resize(blank);
    }
    while (!kept.empty() && std::u32string_view(U" ,;:-(/").find(kept.back()) != std::u32string_view::npos)
        kept.pop_back();
    return utf8Of(kept) + "...";
}

// What importing these files into an empty library should add.
Expected expectedImport(const std::vector<std::string>& files, bool shorten = false) {
    static const std::regex entry(R"(<entry[\s>][\s\S]*?</entry>)");
    static const std::regex translation(R"(<translation[\s>][\s\S]*?</translation>)");
    static const std::regex text(R"(<text>([\s\S]*?)</text>)");
    static const std::regex comment(R"(<comment>([\s\S]*?)</comment>)");
    Expected x;
    std::set<std::string> taken = {library::kStartPhrase, library::kEndPhrase};
    for (const auto& file : files) {
        const std::string doc = readBytes(file);
        for (std::sregex_iterator e(doc.begin(), doc.end(), entry), end; e != end; ++e) {
            ++x.entries;
            const std::string body = e->str();
            std::smatch t, m, c;
            if (!std::regex_search(body, t, translation)) continue;
            const std::string first = t.str();
            const std::string phraseUtf8 = std::regex_search(first, m, text) ? trimmed(unescaped(m[1])) : "";
            std::string hintUtf8 = std::regex_search(first, c, comment) ? trimmed(unescaped(c[1])) : "";
            if (shorten && codePoints(hintUtf8).size() > 34) {
                hintUtf8 = cutHint(hintUtf8);
                ++x.shortened;
            }
            std::string phrase, hint;
            if (!toLatin1(phraseUtf8, phrase) || !toLatin1(hintUtf8, hint) || !fits(phrase, hint)) continue;
            if (!taken.insert(caseFolded(phrase)).second) continue;
            x.records += lowerAsciiOnly(phrase) + ";" + (hint.empty() ? "no hint available" : hint) + ":";
            ++x.added;
        }
    }
    return x;
}

const std::string kFrameStart = library::recordText(library::kStartPhrase, library::kStartHint);
const std::string kFrameEnd = library::recordText(library::kEndPhrase, library::kEndHint);

}  // namespace

TEST(RealWordLists, EveryDebianKvtmlListOfTheseLanguagesImportsWhatFitsTheRules) {
    ASSERT_TRUE(fs::is_directory(kKvtmlRoot / "en"))
        << "Debian's kdeedu-kvtml-data is not installed (scripts/install-deps.sh --test installs it)";
    for (const char* language : {"en", "de", "fr", "ru"}) {
        const auto files = kvtmlFiles(language);
        ASSERT_FALSE(files.empty()) << language;
        const Expected x = expectedImport(files);
        TempFolder f(std::string("kvtml-") + language);
        std::vector<std::string> args = {"--dir", f.dir(), "import"};
        args.insert(args.end(), files.begin(), files.end());
        const auto r = runTool(args);
        // A list that adds nothing (Cyrillic words) is refused with exit 1.
        ASSERT_EQ(r.exitCode, x.added > 0 ? 0 : 1) << language << ": " << r.err;
        EXPECT_NE(r.out.find(x.added > 0 ? "Added " + std::to_string(x.added) + " puzzle" : "Added no puzzles"),
                  std::string::npos)
            << language << ": " << r.out;
        EXPECT_NE(r.out.find("skipped " + std::to_string(x.entries - x.added)), std::string::npos)
            << language << ": " << r.out;
        if (x.added > 0) {
            EXPECT_EQ(plainLibrary(f.path()), kFrameStart + x.records + kFrameEnd) << language;
        } else {
            EXPECT_FALSE(fs::exists(f / "OnLoad.dat")) << language << ": nothing to add, nothing written";
        }
        std::printf("[ kvtml %s ] %zu files, %zu entries, %zu added\n", language, files.size(), x.entries, x.added);
    }
}

TEST(RealWordLists, AnExportImportedIntoAnEmptyLibraryGivesTheSameRecords) {
    // The shipped library, and one built from Debian's English lists.
    TempFolder shipped("shipped");
    fs::copy_file(fs::path(TARVIK_SOURCE_DIR) / "resources/OnLoad.dat", shipped / "OnLoad.dat");
    TempFolder imported("imported");
    std::vector<std::string> args = {"--dir", imported.dir(), "import"};
    for (const auto& file : kvtmlFiles("en")) args.push_back(file);
    ASSERT_EQ(runTool(args).exitCode, 0);

    for (const TempFolder* source : {&shipped, &imported}) {
        for (const char* format : {"txt", "csv"}) {
            const auto exported = runTool({"--dir", source->dir(), "export", "--format", format});
            ASSERT_EQ(exported.exitCode, 0) << exported.err;
            writeBytes(*source / "export", exported.out);
            TempFolder empty("roundtrip");
            const auto r = runTool({"--dir", empty.dir(), "import", (*source / "export").string()});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_NE(r.out.find(std::string("(") + format), std::string::npos) << r.out;
            EXPECT_EQ(plainLibrary(empty.path()), plainLibrary(source->path())) << format;
            EXPECT_EQ(runTool({"--dir", empty.dir(), "check"}).exitCode, 0);
        }
    }
}

// Debian's kvtml lists lose a quarter to nearly half of their words to the
// hint limit; with --long-hints shorten they keep them, each hint cut to 34
// characters at a word boundary.
TEST(RealWordLists, DebianKvtmlListsKeepTheirWordsWithShortenedHints) {
    ASSERT_TRUE(fs::is_directory(kKvtmlRoot / "en")) << "kdeedu-kvtml-data is not installed";
    for (const char* language : {"en", "de", "es", "fr"}) {
        const auto files = kvtmlFiles(language);
        const Expected plain = expectedImport(files);
        const Expected x = expectedImport(files, true);
        TempFolder f(std::string("short-") + language);
        std::vector<std::string> args = {"--dir", f.dir(), "import", "--long-hints", "shorten"};
        args.insert(args.end(), files.begin(), files.end());
        const auto r = runTool(args);
        ASSERT_EQ(r.exitCode, 0) << language << ": " << r.err;
        EXPECT_NE(r.out.find("Added " + std::to_string(x.added) + " puzzles"), std::string::npos)
            << language << ": " << r.out;
        EXPECT_NE(r.out.find(std::to_string(x.shortened) + " hint(s) cut to fit 34 characters"), std::string::npos)
            << language << ": " << r.out;
        EXPECT_EQ(plainLibrary(f.path()), kFrameStart + x.records + kFrameEnd) << language;
        EXPECT_GT(x.added, plain.added + plain.added / 4) << language << ": shortening keeps few words";
        EXPECT_EQ(runTool({"--dir", f.dir(), "check"}).exitCode, 0) << language;
        std::printf("[ kvtml %s ] %zu entries: %zu added, %zu with --long-hints shorten (%zu hints cut)\n", language,
                    x.entries, plain.added, x.added, x.shortened);
    }
}

// The dictionary: every word alone on its line, the possessives of nearly
// every noun among them.
TEST(RealWordLists, TheDictionarySkipsPossessivesUnlessKept) {
    const fs::path words = "/usr/share/dict/words";
    ASSERT_TRUE(fs::exists(words)) << "wamerican is not installed (scripts/install-deps.sh --test installs it)";
    const std::string text = readBytes(words);
    std::size_t lines = 0, possessives = 0;
    std::set<std::string> keptAll, keptWithout;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        ++lines;
        const bool possessive = word.size() > 2 && word.compare(word.size() - 2, 2, "'s") == 0 &&
                                word.find(' ') == std::string::npos;
        possessives += possessive;
        std::string latin1;
        if (!toLatin1(word, latin1) || !fits(latin1, "English word")) continue;
        keptAll.insert(caseFolded(latin1));
        if (!possessive) keptWithout.insert(caseFolded(latin1));
    }
    TempFolder f("dict");
    auto r = runTool({"--dir", f.dir(), "import", "--hint", "English word", words.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(txt): " + std::to_string(lines) + " entries, " + std::to_string(keptWithout.size()) +
                         " new puzzles"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(std::to_string(possessives) + "  a possessive"), std::string::npos) << r.out;
    TempFolder g("dict-kept");
    r = runTool({"--dir", g.dir(), "import", "--keep-possessives", "--hint", "English word", words.string()});
    EXPECT_NE(r.out.find("Added " + std::to_string(keptAll.size()) + " puzzles"), std::string::npos) << r.out;
    std::printf("[ dict ] %zu words, %zu possessives: %zu added, %zu with --keep-possessives\n", lines, possessives,
                keptWithout.size(), keptAll.size());
}
