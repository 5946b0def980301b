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
};

// What importing these files into an empty library should add.
Expected expectedImport(const std::vector<std::string>& files) {
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
            const std::string hintUtf8 = std::regex_search(first, c, comment) ? trimmed(unescaped(c[1])) : "";
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
