#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/Exit.h"
#include "app/FolderChoice.h"
#include "app/ProgramState.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "library/Config.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleViewer.h"
#include "platform/memory/MemoryDesktop.h"
#include "ui/Controls.h"

namespace fuzz {

namespace fs = std::filesystem;

namespace {

std::string chooseParent() {
    if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

struct Folder {
    std::string path;
    Folder() {
        std::string pattern = chooseParent() + "/tarvik-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("tarvik fuzz: mkdtemp");
            std::abort();
        }
        path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

std::unique_ptr<platform::MemoryDesktop> desk;

}  // namespace

void resetProgram() {
    app::resetProgramState();

    const std::string& dir = folder().path;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    // The folder is the program's own and writable, so the files live in it.
    app::PathEnvironment env;
    env.home = dir;
    env.writable = [](const std::string&) { return true; };
    env.isDirectory = [](const std::string&) { return false; };
    library::appPaths = app::chooseAppPaths(dir + "/tarvik-kxv", env);

    desk = std::make_unique<platform::MemoryDesktop>();
    platform::setDesktop(desk.get());
    // The windows and controls the handlers work on, as start-up makes them:
    // the in-memory desktop refuses any other.
    for (const auto& window : ui::windowSpecs(1024, 768)) desk->createWindow(window);
    for (const auto& row : ui::controlTable) desk->createControl(ui::describeControl(row));
}

std::string pathOf(const std::string& name) { return folder().path + "/" + name; }

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(pathOf(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) fail(__FILE__, __LINE__, "cannot write " + pathOf(name));
}

bool readFile(const std::string& name, std::string& bytes) {
    std::ifstream in(pathOf(name), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string readFile(const std::string& name) {
    std::string bytes;
    readFile(name, bytes);
    return bytes;
}

int beeps() { return desk ? desk->beeps() : 0; }

void type(int controlId, const std::string& text) { desk->type(controlId, text); }

std::string text(int controlId) { return desk->control(controlId).text; }

void takeLibrary() {
    const auto outcome = library::unscramblePuzzleFile();
    if (outcome == library::UnscrambleOutcome::Failed || !library::libraryInHand()) {
        fail(__FILE__, __LINE__, "start-up did not take the library in hand");
    }
}

void fail(const char* file, int line, const std::string& what) {
    std::fprintf(stderr, "\n%s:%d: check failed: %s\n", file, line, what.c_str());
    std::fflush(stderr);
    // abort() skips the destructors; libFuzzer keeps the input itself.
    std::error_code ec;
    fs::remove_all(folder().path, ec);
    std::abort();
}

std::string show(const std::string& bytes) {
    static const char* const hex = "0123456789abcdef";
    std::string out = "\"";
    const std::size_t shown = bytes.size() < 200 ? bytes.size() : 200;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 32 && c < 127 && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out += "\"";
    if (shown < bytes.size()) out += "... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

}  // namespace fuzz
