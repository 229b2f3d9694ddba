// SPDX-License-Identifier: MIT
#include "platform/thread_on_another_processor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kelvane {
namespace {

struct WorkSeen {
    bool ran = false;
    pthread_t thread{};
    cpu_set_t allowed{};
};

WorkSeen RunAndJoin() {
    WorkSeen seen;
    ThreadOnAnotherProcessor thread([&seen] {
        seen.thread = pthread_self();
        sched_getaffinity(0, sizeof seen.allowed, &seen.allowed);
        seen.ran = true;
    });
    thread.Join();
    return seen;
}

cpu_set_t CallersProcessors() {
    cpu_set_t allowed;
    EXPECT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    return allowed;
}

TEST(ThreadOnAnotherProcessorTest, TheWorkRunsOnItsOwnThreadFreeToUseTheCallersProcessors) {
    const cpu_set_t all = CallersProcessors();
    const WorkSeen seen = RunAndJoin();
    ASSERT_TRUE(seen.ran);
    EXPECT_FALSE(pthread_equal(seen.thread, pthread_self()));
    // Started away from the caller, then not kept there.
    EXPECT_TRUE(CPU_EQUAL(&seen.allowed, &all));

    // A caller held to one processor gets its thread all the same, there.
    const int current = sched_getcpu();
    ASSERT_GE(current, 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(current, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const WorkSeen held = RunAndJoin();
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    ASSERT_TRUE(held.ran);
    EXPECT_FALSE(pthread_equal(held.thread, pthread_self()));
    EXPECT_TRUE(CPU_EQUAL(&held.allowed, &one));
}

TEST(ThreadOnAnotherProcessorTest, ItsEndWaitsForTheWork) {
    std::atomic<bool> done = false;
    {
        ThreadOnAnotherProcessor thread([&done] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            done = true;
        });
    }
    EXPECT_TRUE(done);
}

} // namespace
} // namespace kelvane
