// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

namespace kelvane {

// A thread that is started on a processor other than its creator's, when
// the creator may run on more than one: left to the scheduler, a new thread
// here waited up to 2 ms to run at all, queued behind its busy creator while
// the other processor idled. Once it runs it may move to any processor its
// creator may use. With no thread to be had, the work runs at once on the
// creator's thread. (On Windows a plain thread: the system's scheduler
// starts it on an idle processor itself.)
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
    struct Running; // the system's thread

    std::function<void()> m_work;
    std::unique_ptr<Running> m_running;
};

} // namespace kelvane
