// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <pthread.h>
#include <sched.h>

namespace kelvane {

// A thread that is started on a processor other than its creator's, when
// the creator may run on more than one: left to the scheduler, a new thread
// here waited up to 2 ms to run at all, queued behind its busy creator while
// the other processor idled. Once it runs it may move to any processor its
// creator may use. With no thread to be had, the work runs at once on the
// creator's thread.
class ThreadOnAnotherProcessor {
public:
    explicit ThreadOnAnotherProcessor(std::function<void()> work);
    // Joins.
    ~ThreadOnAnotherProcessor();
    ThreadOnAnotherProcessor(const ThreadOnAnotherProcessor&) = delete;
    ThreadOnAnotherProcessor& operator=(const ThreadOnAnotherProcessor&) = delete;

    // Waits for the work to end.
    void Join();

private:
    static void* Run(void* self);

    std::function<void()> m_work;
    cpu_set_t m_allowed{};
    bool m_allowedKnown = false;
    pthread_t m_thread{};
    bool m_joinable = false;
};

} // namespace kelvane
