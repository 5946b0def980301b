// The shipped help document: a real compiled help file (ITSF container,
// ITSP directory) whose title, read from its #SYSTEM file, is the one the
// help button looks for, and which was built from the current sources.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "help/HelpLauncher.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TARVIK_SOURCE_DIR;
const fs::path kHelpFile = kSourceDir / "resources" / "Tarvik_kxv-help.chm";
const fs::path kHelpSources = kSourceDir / "resources" / "help";

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian reads that refuse to run past the end of the buffer.
struct Reader {
    const std::string& bytes;
    bool ok = true;

    std::uint64_t le(std::uint64_t at, int width) {
        if (at > bytes.size() || bytes.size() - at < static_cast<std::uint64_t>(width)) {
            ok = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = width - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    }
    std::uint32_t u16(std::uint64_t at) { return static_cast<std::uint32_t>(le(at, 2)); }
    std::uint32_t u32(std::uint64_t at) { return static_cast<std::uint32_t>(le(at, 4)); }
    std::uint64_t u64(std::uint64_t at) { return le(at, 8); }
    std::string str(std::uint64_t at, std::uint64_t n) {
        if (at > bytes.size() || bytes.size() - at < n) {
            ok = false;
            return {};
        }
        return bytes.substr(at, n);
    }
    // The directory's variable-length numbers: 7 bits a byte, high bit = more.
    std::uint64_t encint(std::uint64_t& at, std::uint64_t end) {
        std::uint64_t v = 0;
        for (int n = 0; n < 10; ++n) {
            if (at >= end || at >= bytes.size()) break;
            const auto c = static_cast<unsigned char>(bytes[at++]);
            v = (v << 7) | (c & 0x7F);
            if ((c & 0x80) == 0) return v;
        }
        ok = false;
        return 0;
    }
};

struct Entry {
    std::uint64_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct ChmFile {
    std::string error;              // empty when the container parsed
    std::uint32_t version = 0;
    std::uint64_t contentOffset = 0;  // start of content section 0
    std::map<std::string, Entry> entries;
    std::string bytes;

    // A file stored uncompressed (content section 0).
    std::optional<std::string> uncompressed(const std::string& name) const {
        const auto it = entries.find(name);
        if (it == entries.end() || it->second.section != 0) return std::nullopt;
        const std::uint64_t at = contentOffset + it->second.offset;
        if (at > bytes.size() || bytes.size() - at < it->second.length) return std::nullopt;
        return bytes.substr(at, it->second.length);
    }
};

ChmFile parseChm(std::string bytes) {
    ChmFile chm;
    chm.bytes = std::move(bytes);
    Reader r{chm.bytes};
    if (r.str(0, 4) != "ITSF") {
        chm.error = "no ITSF signature";
        return chm;
    }
    chm.version = r.u32(4);
    const std::uint32_t headerLength = r.u32(8);
    const std::uint64_t directoryOffset = r.u64(0x48);
    const std::uint64_t directoryLength = r.u64(0x50);
    chm.contentOffset = headerLength >= 0x60 ? r.u64(0x58) : directoryOffset + directoryLength;
    if (!r.ok || r.str(directoryOffset, 4) != "ITSP") {
        chm.error = "no ITSP directory where the header points";
        return chm;
    }
    const std::uint32_t itspHeaderLength = r.u32(directoryOffset + 8);
    const std::uint32_t chunkSize = r.u32(directoryOffset + 0x10);
    const std::uint32_t chunkCount = r.u32(directoryOffset + 0x2C);
    if (!r.ok || chunkSize < 20 || chunkCount == 0 ||
        itspHeaderLength + std::uint64_t{chunkSize} * chunkCount > directoryLength) {
        chm.error = "implausible directory header";
        return chm;
    }
    for (std::uint32_t c = 0; c < chunkCount; ++c) {
        const std::uint64_t chunk = directoryOffset + itspHeaderLength + std::uint64_t{c} * chunkSize;
        if (r.str(chunk, 4) != "PMGL") continue;  // index chunks (PMGI) hold no entries
        const std::uint32_t freeSpace = r.u32(chunk + 4);
        if (!r.ok || freeSpace > chunkSize - 20) {
            chm.error = "bad listing chunk";
            return chm;
        }
        const std::uint64_t end = chunk + chunkSize - freeSpace;
        std::uint64_t at = chunk + 20;
        while (r.ok && at < end) {
            const std::uint64_t nameLength = r.encint(at, end);
            const std::string name = r.str(at, nameLength);
            at += nameLength;
            Entry e;
            e.section = r.encint(at, end);
            e.offset = r.encint(at, end);
            e.length = r.encint(at, end);
            if (r.ok) chm.entries[name] = e;
        }
    }
    if (!r.ok) chm.error = "directory runs past the file";
    return chm;
}

// The #SYSTEM file: a version, then entries of code, length and data.
std::map<std::uint32_t, std::string> systemEntries(const std::string& system) {
    std::map<std::uint32_t, std::string> out;
    Reader r{system};
    std::uint64_t at = 4;
    while (at + 4 <= system.size()) {
        const std::uint32_t code = r.u16(at);
        const std::uint32_t length = r.u16(at + 2);
        const std::string data = r.str(at + 4, length);
        if (!r.ok) break;
        out.emplace(code, data);
        at += 4 + length;
    }
    return out;
}

// Strings in #SYSTEM end with a NUL.
std::string cString(const std::string& data) { return data.substr(0, data.find('\0')); }

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_regular_file(kHelpFile)) << kHelpFile;
        chm = parseChm(readAll(kHelpFile));
        ASSERT_EQ(chm.error, "");
    }
    ChmFile chm;
};

TEST_F(HelpFile, IsAVersionThreeContainerWithADirectory) {
    EXPECT_EQ(chm.version, 3u);
    EXPECT_GT(chm.contentOffset, 0u);
    EXPECT_LE(chm.contentOffset, chm.bytes.size());
    EXPECT_EQ(chm.entries.count("/#SYSTEM"), 1u);
    EXPECT_EQ(chm.entries.count("::DataSpace/Storage/MSCompressed/Content"), 1u);
}

TEST_F(HelpFile, TitleIsTheOneTheHelpButtonLooksFor) {
    const auto system = chm.uncompressed("/#SYSTEM");
    ASSERT_TRUE(system.has_value());
    const auto entries = systemEntries(*system);
    ASSERT_EQ(entries.count(3u), 1u) << "no title entry";
    EXPECT_EQ(cString(entries.at(3u)), help::kHelpWindowTitle);
    EXPECT_EQ(cString(entries.at(3u)), "ZPT Quorvel");
}

TEST_F(HelpFile, NamesItsContentsIndexAndFirstPage) {
    const auto system = chm.uncompressed("/#SYSTEM");
    ASSERT_TRUE(system.has_value());
    const auto entries = systemEntries(*system);
    ASSERT_EQ(entries.count(0u), 1u);
    ASSERT_EQ(entries.count(1u), 1u);
    ASSERT_EQ(entries.count(2u), 1u);
    EXPECT_EQ(cString(entries.at(0u)), "contents.hhc");
    EXPECT_EQ(cString(entries.at(1u)), "index.hhk");
    EXPECT_EQ(cString(entries.at(2u)), "index.html");
    for (const char* name : {"/contents.hhc", "/index.hhk", "/index.html"}) {
        EXPECT_EQ(chm.entries.count(name), 1u) << name;
    }
}

// Viewers read the index from index.hhk. A binary keyword index as chmcmd
// writes it for this many keywords is misread by xchm, which then lists the
// first keyword of each block again with two letters cut off.
TEST_F(HelpFile, CarriesNoBinaryKeywordIndexSoViewersReadTheIndexFile) {
    for (const auto& [name, entry] : chm.entries) {
        EXPECT_EQ(name.rfind("/$WWKeywordLinks/", 0), std::string::npos) << name;
    }
    EXPECT_EQ(chm.entries.count("/index.hhk"), 1u);
    const std::string project = readAll(kHelpSources / "Tarvik_kxv-help.hhp");
    EXPECT_NE(project.find("\nBinary Index=No\n"), std::string::npos);
}

// Every page, picture and table of the sources is inside, at its current
// size: a help file left behind after a source changed fails here.
TEST_F(HelpFile, HoldsEverySourceFileAtItsCurrentSize) {
    std::vector<fs::path> sources;
    for (const auto& e : fs::recursive_directory_iterator(kHelpSources)) {
        if (!e.is_regular_file()) continue;
        const auto ext = e.path().extension();
        if (ext == ".html" || ext == ".css" || ext == ".png" || ext == ".hhc" || ext == ".hhk") {
            sources.push_back(e.path());
        }
    }
    ASSERT_GE(sources.size(), 10u);
    for (const auto& p : sources) {
        const std::string name = "/" + fs::relative(p, kHelpSources).generic_string();
        const auto it = chm.entries.find(name);
        ASSERT_NE(it, chm.entries.end()) << name << " missing from the help file";
        EXPECT_EQ(it->second.length, fs::file_size(p)) << name << " differs from its source";
    }
}

TEST(HelpFileParser, RefusesWhatIsNotACompiledHelpFile) {
    EXPECT_NE(parseChm("").error, "");
    EXPECT_NE(parseChm("<html>ZPT Quorvel</html>").error, "");
    // A real header cut short before its directory.
    std::string cut = readAll(kHelpFile).substr(0, 0x60);
    EXPECT_NE(parseChm(cut).error, "");
}

TEST(HelpFileParser, ProjectAsksForTheSameTitle) {
    const std::string project = readAll(kHelpSources / "Tarvik_kxv-help.hhp");
    EXPECT_NE(project.find("\nTitle=ZPT Quorvel\n"), std::string::npos);
    EXPECT_NE(project.find("Compiled file=Tarvik_kxv-help.chm"), std::string::npos);
}

}  // namespace
