#include "platform/qt/StartupCores.h"

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace platform::qt::startupcores {

namespace {

cpu_set_t allowed;                  // the process's processors at the start
int earlyCpu = -1;                  // the early thread's, once chosen
std::atomic<bool> separated{false};

}  // namespace

bool separate() {
    if (separated) return false;
    CPU_ZERO(&allowed);
    // Three threads are busy at start-up: these two and the X server. With
    // three processors or more the scheduler finds an idle one for each and
    // is best left free to move them; with one there is nothing to choose.
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) != 2) return false;
    // The main thread stays where it runs; the early thread takes the other.
    int pair[2] = {-1, -1};
    for (int cpu = 0, found = 0; cpu < CPU_SETSIZE && found < 2; ++cpu) {
        if (CPU_ISSET(cpu, &allowed)) pair[found++] = cpu;
    }
    earlyCpu = sched_getcpu() == pair[1] ? pair[0] : pair[1];
    cpu_set_t others = allowed;
    CPU_CLR(earlyCpu, &others);
    if (sched_setaffinity(0, sizeof others, &others) != 0) return false;
    separated = true;
    return true;
}

void enterEarlyThread() {
    if (!separated) return;
    cpu_set_t own;
    CPU_ZERO(&own);
    CPU_SET(earlyCpu, &own);
    (void)sched_setaffinity(0, sizeof own, &own);
}

void rejoin() {
    if (!separated.exchange(false)) return;
    // The main thread first, so that a thread it starts from here on gets
    // them all; then every thread, not only the two: Qt's own threads
    // started meanwhile took the main thread's processors with them.
    (void)sched_setaffinity(getpid(), sizeof allowed, &allowed);
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr) return;
    while (const dirent* task = readdir(tasks)) {
        const int tid = std::atoi(task->d_name);
        if (tid > 0) (void)sched_setaffinity(tid, sizeof allowed, &allowed);
    }
    closedir(tasks);
}

}  // namespace platform::qt::startupcores
