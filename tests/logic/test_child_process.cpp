// The helper the lock and sharing tests run other processes with: a check
// that passes on "the child exited with 0" is only worth what this is.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "ChildProcess.h"

namespace {

using testing_support::HoldingProcess;
using testing_support::inChild;

TEST(ChildProcess, InChildGivesTheExitCodeAndWhatTheChildSaid) {
    EXPECT_EQ(inChild([] { return 0; }), 0);
    EXPECT_EQ(inChild([] { return 3; }), 3);
    // Run elsewhere: what the child changes stays there.
    int here = 1;
    EXPECT_EQ(inChild([&] { return ++here; }), 2);
    EXPECT_EQ(here, 1);
    EXPECT_EQ(inChild([] { return ::raise(SIGKILL); }), testing_support::kChildDidNotExit);

    // More than a pipe holds at once, read while the child writes.
    const std::string big(200000, 'x');
    std::string said = "stale";
    EXPECT_EQ(inChild(
                  [&](std::string& out) {
                      out = big + "end";
                      return 5;
                  },
                  &said),
              5);
    EXPECT_EQ(said, big + "end");
    EXPECT_EQ(inChild([](std::string&) { return 0; }, &said), 0);
    EXPECT_EQ(said, "");
}

TEST(ChildProcess, AHoldingProcessLivesUntilReleasedOrKilled) {
    pid_t released = -1;
    {
        HoldingProcess held([] { return true; });
        EXPECT_TRUE(held.taken());
        ASSERT_GT(held.pid(), 0);
        EXPECT_NE(held.pid(), ::getpid());
        EXPECT_EQ(::kill(held.pid(), 0), 0) << "not alive while held";
        released = held.pid();
        held.release();
        EXPECT_EQ(held.pid(), -1);
    }
    // Waited for, so gone for good.
    EXPECT_EQ(::kill(released, 0), -1);
    EXPECT_EQ(errno, ESRCH);

    HoldingProcess refused([] { return false; });
    EXPECT_FALSE(refused.taken());
    const pid_t killed = refused.pid();
    ASSERT_GT(killed, 0);
    refused.kill();
    EXPECT_EQ(::kill(killed, 0), -1);
    refused.release();   // after a kill: nothing left to let go

    pid_t destroyed = -1;
    {
        const HoldingProcess held([] { return true; });
        destroyed = held.pid();
    }
    EXPECT_EQ(::kill(destroyed, 0), -1) << "the destructor left the child running";
}

}  // namespace
