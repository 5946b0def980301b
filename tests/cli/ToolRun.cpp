#include "tests/cli/ToolRun.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "library/PuzzleFile.h"

namespace tool_test {

namespace {

std::vector<char*> argvOf(const std::string& program, const std::vector<std::string>& args,
                          std::vector<std::string>& storage) {
    storage.clear();
    storage.push_back(program);
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);
    return argv;
}

// In the child: standard input, output and error from and to these files.
void redirect(const char* in, const char* out, const char* err) {
    const int fdIn = ::open(in, O_RDONLY);
    const int fdOut = ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int fdErr = ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fdIn < 0 || fdOut < 0 || fdErr < 0) ::_exit(126);
    ::dup2(fdIn, 0);
    ::dup2(fdOut, 1);
    ::dup2(fdErr, 2);
}

ToolResult runAs(const passwd* user, const std::vector<std::string>& args, const std::string& input,
                 const std::string& program, bool& ran);

}  // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::string& input, const std::string& program) {
    bool ran = false;
    return runAs(nullptr, args, input, program, ran);
}

ToolResult runToolAs(const std::string& account, const std::vector<std::string>& args, bool& ran) {
    const passwd* user = account.empty() ? nullptr : ::getpwnam(account.c_str());
    if (!account.empty() && user == nullptr) {
        ran = false;
        return {};
    }
    return runAs(user, args, {}, TARVIK_LIBRARY_TOOL, ran);
}

namespace {

ToolResult runAs(const passwd* user, const std::vector<std::string>& args, const std::string& input,
                 const std::string& program, bool& ran) {
    ran = true;
    TempFolder io("io");
    writeBytes(io / "in", input);
    const std::string in = (io / "in").string(), out = (io / "out").string(), err = (io / "err").string();
    std::vector<std::string> storage;
    auto argv = argvOf(program, args, storage);
    const pid_t pid = ::fork();
    if (pid == 0) {
        redirect(in.c_str(), out.c_str(), err.c_str());
        // The output files are opened first: only root may open them.
        if (user != nullptr && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                                ::setuid(user->pw_uid) != 0)) {
            ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    ToolResult r;
    r.peakKiB = usage.ru_maxrss;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readBytes(out);
    r.err = readBytes(err);
    return r;
}

}  // namespace

pid_t startTool(const std::vector<std::string>& args, const fs::path& outPath) {
    std::vector<std::string> storage;
    auto argv = argvOf(TARVIK_LIBRARY_TOOL, args, storage);
    const std::string out = outPath.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        redirect("/dev/null", out.c_str(), "/dev/null");
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

TempFolder::TempFolder(const std::string& tag) {
    std::string pattern = (fs::temp_directory_path() / ("tarvik-cli-" + tag + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
}

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string plainLibrary(const fs::path& folder) { return library::unscrambleBytes(readBytes(folder / "OnLoad.dat")); }

void writePlainLibrary(const fs::path& folder, const std::string& plain) {
    writeBytes(folder / "OnLoad.dat", library::scrambleBytes(plain));
}

std::string fixture(const std::string& name) {
    return (fs::path(TARVIK_SOURCE_DIR) / "tests/cli/fixtures" / name).string();
}

std::vector<std::string> filesStartingWith(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    return names;
}

}  // namespace tool_test
