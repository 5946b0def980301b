// Times New Game on a puzzle library: the game's own start-up and New Game
// handler against the in-memory desktop, on a copy of the library in a
// temporary folder.
//
// Usage: tarvik-bench-new-game FOLDER_WITH_ONLOAD_DAT [RUNS]
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "game/GameControl.h"
#include "game/RoundState.h"
#include "library/LibraryState.h"
#include "platform/memory/MemoryDesktop.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Timing {
    double wall = 0;   // ms on the clock
    double cpu = 0;    // ms this process ran: what the machine's load does not change
};

double cpuMilliseconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Timing timingOf(void (*action)()) {
    const auto start = Clock::now();
    const double cpuStart = cpuMilliseconds();
    action();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), cpuMilliseconds() - cpuStart};
}

void report(const char* what, const std::vector<Timing>& timings) {
    std::vector<double> wall, cpu;
    for (const auto& t : timings) wall.push_back(t.wall), cpu.push_back(t.cpu);
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-42s wall: median %6.2f ms, worst %6.2f ms; cpu: median %6.2f ms, worst %6.2f ms (%zu runs)\n",
                what, wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], cpu.back(), timings.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER_WITH_ONLOAD_DAT [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    char pattern[] = "/tmp/tarvik-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const fs::path dir = pattern;
    std::error_code ec;
    fs::copy_file(fs::path(argv[1]) / "OnLoad.dat", dir / "OnLoad.dat", ec);
    if (ec) {
        std::fprintf(stderr, "no OnLoad.dat in %s\n", argv[1]);
        return 1;
    }

    platform::MemoryDesktop desk;
    platform::setDesktop(&desk);
    app::startProgram((dir / "tarvik-kxv").string());

    // The first New Game of a run counts the records, then draws; later ones only draw.
    std::vector<Timing> first, later;
    for (int i = 0; i < runs; ++i) {
        game::roundState.gamesStarted = 0;
        library::libraryState.recordCount = 0;
        first.push_back(timingOf([] { game::onNewGame(platform::Window::Main); }));
        for (int k = 0; k < 5; ++k) later.push_back(timingOf([] { game::onNewGame(platform::Window::Main); }));
    }
    std::printf("library: %d drawable records; last phrase drawn: %s\n", library::libraryState.recordCount,
                game::roundState.plainAnswer.c_str());
    report("first New Game of a run (count and draw)", first);
    report("later New Games (draw)", later);

    platform::setDesktop(nullptr);
    fs::remove_all(dir, ec);
    const bool drew = !game::roundState.plainAnswer.empty();
    return drew ? 0 : 1;
}
