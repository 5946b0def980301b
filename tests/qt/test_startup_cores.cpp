// The main thread and the early thread on processors of their own during
// start-up: only on two processors, and every thread free again afterwards,
// including one started while they were apart.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <future>
#include <thread>
#include <vector>

#include "platform/qt/StartupCores.h"

namespace {

namespace cores = platform::qt::startupcores;

cpu_set_t maskOf(pid_t tid) {
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(sched_getaffinity(tid, sizeof set, &set), 0);
    return set;
}

std::vector<int> cpusIn(const cpu_set_t& set) {
    std::vector<int> cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set)) cpus.push_back(cpu);
    }
    return cpus;
}

// Runs the test thread on the first `count` processors it may use, and
// puts its own mask back afterwards.
class StartupCores : public ::testing::Test {
protected:
    void SetUp() override { original_ = maskOf(0); }
    void TearDown() override {
        cores::rejoin();
        sched_setaffinity(0, sizeof original_, &original_);
    }
    bool restrictTo(int count) {
        const std::vector<int> cpus = cpusIn(original_);
        if (static_cast<int>(cpus.size()) < count) return false;
        cpu_set_t set;
        CPU_ZERO(&set);
        for (int i = 0; i < count; ++i) CPU_SET(cpus[i], &set);
        return sched_setaffinity(0, sizeof set, &set) == 0;
    }
    cpu_set_t original_;
};

TEST_F(StartupCores, OnTwoProcessorsTheThreadsAreApartAndAllFreeAfterwards) {
    if (!restrictTo(2)) GTEST_SKIP() << "needs two processors";
    const cpu_set_t two = maskOf(0);
    ASSERT_TRUE(cores::separate());
    EXPECT_FALSE(cores::separate()) << "separated twice";
    const cpu_set_t mainSide = maskOf(0);
    ASSERT_EQ(CPU_COUNT(&mainSide), 1);
    const int mainCpu = cpusIn(mainSide)[0];

    // The early thread gets the other processor; a thread the main thread
    // starts meanwhile shares the main thread's.
    int earlyCpu = -1;
    std::thread early([&] {
        cores::enterEarlyThread();
        const cpu_set_t own = maskOf(0);
        if (CPU_COUNT(&own) == 1) earlyCpu = cpusIn(own)[0];
    });
    early.join();
    EXPECT_NE(earlyCpu, -1);
    EXPECT_NE(earlyCpu, mainCpu);
    EXPECT_TRUE(CPU_ISSET(earlyCpu, &two));
    std::promise<pid_t> started;
    std::promise<void> end;
    std::thread meanwhileThread([&] {
        started.set_value(static_cast<pid_t>(syscall(SYS_gettid)));
        end.get_future().wait();
    });
    const pid_t meanwhileTid = started.get_future().get();
    cpu_set_t meanwhile = maskOf(meanwhileTid);
    EXPECT_TRUE(CPU_EQUAL(&meanwhile, &mainSide));

    cores::rejoin();
    cpu_set_t after = maskOf(0);
    EXPECT_TRUE(CPU_EQUAL(&after, &two)) << "the main thread stays held";
    meanwhile = maskOf(meanwhileTid);
    EXPECT_TRUE(CPU_EQUAL(&meanwhile, &two)) << "a thread started meanwhile stays held";
    end.set_value();
    meanwhileThread.join();
}

TEST_F(StartupCores, OnOneProcessorNothingChanges) {
    if (!restrictTo(1)) GTEST_SKIP();
    const cpu_set_t one = maskOf(0);
    EXPECT_FALSE(cores::separate());
    std::thread early([] { cores::enterEarlyThread(); });
    early.join();
    cores::rejoin();
    const cpu_set_t after = maskOf(0);
    EXPECT_TRUE(CPU_EQUAL(&after, &one));
}

TEST_F(StartupCores, OnThreeProcessorsOrMoreTheSchedulerIsLeftFree) {
    if (!restrictTo(3)) GTEST_SKIP() << "needs three processors";
    const cpu_set_t three = maskOf(0);
    EXPECT_FALSE(cores::separate());
    const cpu_set_t after = maskOf(0);
    EXPECT_TRUE(CPU_EQUAL(&after, &three));
}

}  // namespace
