// Running the real library tool against files in a temporary folder.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tool_test {

namespace fs = std::filesystem;

struct ToolResult {
    int exitCode = -1;   // -1: it did not exit normally
    std::string out;
    std::string err;
    long peakKiB = 0;    // the largest resident set it had
};

// Runs the tool (or another program) with args, standard input from input,
// and waits for its end.
ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {},
                   const std::string& program = TARVIK_LIBRARY_TOOL);

// The same as the ordinary user account (the caller being root), or as
// this user when account is empty. False in ran when the account is missing.
ToolResult runToolAs(const std::string& account, const std::vector<std::string>& args, bool& ran);

// Starts the tool without waiting; its output goes to outPath.
pid_t startTool(const std::vector<std::string>& args, const fs::path& outPath);

// A folder under the temporary directory, removed with its content.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }
    std::string dir() const { return path_.string(); }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

std::string readBytes(const fs::path& p);   // empty when missing
void writeBytes(const fs::path& p, const std::string& bytes);

// The library in folder: OnLoad.dat unscrambled; and written the same way.
std::string plainLibrary(const fs::path& folder);
void writePlainLibrary(const fs::path& folder, const std::string& plain);

// A fixture file of tests/cli/fixtures.
std::string fixture(const std::string& name);

// Files in folder whose names start with prefix.
std::vector<std::string> filesStartingWith(const fs::path& folder, const std::string& prefix);

}  // namespace tool_test
