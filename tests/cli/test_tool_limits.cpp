// The tool's limits on what it imports: a size cap that --max-size lifts,
// memory that stays a small multiple of the input, no devices, no binary data.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "tests/cli/ToolRun.h"

using namespace tool_test;

namespace {

const std::string kLibrary = "first;1:cat;Animal:dog;Pet:owl;Night bird:sun;star:last;2:";

// A folder holding kLibrary; what an import may not change unless it succeeds.
struct Library {
    TempFolder folder{"limits"};
    Library() { writePlainLibrary(folder.path(), kLibrary); }
    std::string onLoad() const { return readBytes(folder / "OnLoad.dat"); }
};

ToolResult importWith(const Library& lib, std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", lib.folder.dir(), "import"});
    return runTool(args);
}

// Runs a shell line with TOOL standing for the tool.
ToolResult shell(const std::string& line) {
    return runTool({"-c", "TOOL=" TARVIK_LIBRARY_TOOL "; " + line}, {}, "/bin/sh");
}

}  // namespace

TEST(ToolLimits, DevicesAreRefusedAtOnceAndPipesStopAtTheLimit) {
    Library lib;
    const std::string before = lib.onLoad();
    for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        const auto start = std::chrono::steady_clock::now();
        const ToolResult r = importWith(lib, {device});
        EXPECT_EQ(r.exitCode, 1) << device;
        EXPECT_NE(r.err.find(std::string(device) + ": a device, not a word list. Nothing was imported."),
                  std::string::npos) << r.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << device;
    }
    // The same devices behind a pipe: random bytes show a NUL in the first
    // MiB; an endless list of words runs into the limit.
    ToolResult r = shell("head -c 100000000 /dev/urandom | $TOOL --dir " + lib.folder.dir() + " import -");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("standard input: binary data, not a word list"), std::string::npos) << r.err;
    r = shell("yes 'a word;a hint' | $TOOL --dir " + lib.folder.dir() + " import --max-size 2M -");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("standard input: more than the 2 MiB an import reads; --max-size allows more"),
              std::string::npos) << r.err;
    EXPECT_EQ(lib.onLoad(), before);

    // What a pipe holds within the limit is read: the path that refused does work.
    r = shell("printf 'owl;x\\nlark;Song bird\\n' | $TOOL --dir " + lib.folder.dir() + " import --max-size 1K -");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Added 1 puzzle to " + lib.folder.dir() + "/OnLoad.dat;"), std::string::npos) << r.out;
    EXPECT_NE(plainLibrary(lib.folder.path()).find("lark;Song bird:"), std::string::npos);

    for (const char* bad : {"0", "-5", "12X", "M", "99999999999999999999", "5MiBs"}) {
        r = importWith(lib, {"--max-size", bad, "/dev/null"});
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("--max-size: a size in bytes"), std::string::npos) << r.err;
    }
}

TEST(ToolLimits, BinaryDataIsNoWordListEvenWithoutNuls) {
    Library lib;
    const std::string before = lib.onLoad();
    // A MiB of pseudo-random bytes with every NUL taken out.
    std::string noise;
    std::uint32_t x = 12345;
    while (noise.size() < (1u << 20)) {
        x = x * 1664525u + 1013904223u;
        const char c = static_cast<char>(x >> 24);
        if (c != 0) noise += c;
    }
    writeBytes(lib.folder / "noise.txt", noise);
    writeBytes(lib.folder / "noise.csv", noise);
    for (const char* name : {"noise.txt", "noise.csv"}) {
        for (const char* format : {"txt", "csv"}) {
            const ToolResult r = importWith(lib, {"--format", format, (lib.folder / name).string()});
            EXPECT_EQ(r.exitCode, 1) << name << format;
            EXPECT_NE(r.err.find("binary data, not a word list. Nothing was imported."), std::string::npos) << r.err;
        }
    }
    EXPECT_EQ(lib.onLoad(), before);

    // A list with a few lines of control characters is a list: those lines are skipped.
    writeBytes(lib.folder / "mostly.txt", "lark;Song bird\nwren\n\x01\x02 junk\nhawk;Hunter\n");
    const ToolResult r = importWith(lib, {(lib.folder / "mostly.txt").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Added 3 puzzles to " + lib.folder.dir() + "/OnLoad.dat; skipped 1"), std::string::npos) << r.out;
    writeBytes(lib.folder / "half.txt", "kite;Bird\n\x01\x02\n\x1b[0m\n");
    EXPECT_EQ(importWith(lib, {(lib.folder / "half.txt").string()}).exitCode, 1);
}

// A 200 MB list: refused by default at once, read with --max-size, in
// memory below three times its size (the old whole-file reading took 2.1 GB).
TEST(ToolLimits, ALargeListNeedsMaxSizeAndStaysWithinThreeTimesItsSize) {
    Library lib;
    const std::string before = lib.onLoad();
    const fs::path list = lib.folder / "big.txt";
    std::size_t lines = 0, bytes = 0;
    {
        std::FILE* f = std::fopen(list.c_str(), "w");
        ASSERT_NE(f, nullptr);
        char line[96];
        while (bytes < 200'000'000) {
            // Distinct phrases, every letter of the alphabet about, hints of their own.
            const int n = std::snprintf(line, sizeof line, "puzzle %c%c%c %07zu of the big list;hint number %zu\n",
                                        'a' + static_cast<int>(lines % 26), 'a' + static_cast<int>(lines / 26 % 26),
                                        'a' + static_cast<int>(lines / 676 % 26), lines, lines);
            std::fwrite(line, 1, static_cast<std::size_t>(n), f);
            bytes += static_cast<std::size_t>(n);
            ++lines;
        }
        ASSERT_EQ(std::fclose(f), 0);
    }
    const auto start = std::chrono::steady_clock::now();
    ToolResult r = importWith(lib, {list.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("big.txt: 190.7 MiB, larger than the 64 MiB an import reads; --max-size allows more. "
                         "Nothing was imported."),
              std::string::npos) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(lib.onLoad(), before);
    r = importWith(lib, {"--max-size", "100M", list.string()});
    EXPECT_EQ(r.exitCode, 1);

    r = importWith(lib, {"--max-size", "200M", list.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Added " + std::to_string(lines) + " puzzles to " + lib.folder.dir() + "/OnLoad.dat; skipped 0."), std::string::npos) << r.out;
    std::printf("[ 200 MB list ] %zu bytes, %zu lines, peak RSS %ld KiB (%.2f times the input)\n", bytes, lines,
                r.peakKiB, r.peakKiB * 1024.0 / static_cast<double>(bytes));
    EXPECT_LT(static_cast<double>(r.peakKiB) * 1024, 3.0 * static_cast<double>(bytes));
    const std::string plain = plainLibrary(lib.folder.path());
    EXPECT_EQ(plain.size(), kLibrary.size() + bytes);   // each line end became a ":"
    EXPECT_EQ(plain.substr(0, 10), "first;1:ca");
    EXPECT_NE(plain.find("puzzle aaa 0000000 of the big list;hint number 0:"), std::string::npos);
    EXPECT_EQ(plain.substr(plain.size() - 8), ":last;2:");
}
