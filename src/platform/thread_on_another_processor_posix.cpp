// SPDX-License-Identifier: MIT
#include "platform/thread_on_another_processor.h"

#include <pthread.h>
#include <sched.h>
#include <utility>

namespace kelvane {

struct ThreadOnAnotherProcessor::Running {
    static void* Run(void* self) {
        auto& running = *static_cast<Running*>(self);
        if (running.allowedKnown)
            pthread_setaffinity_np(pthread_self(), sizeof running.allowed, &running.allowed);
        (*running.work)();
        return nullptr;
    }

    std::function<void()>* work = nullptr;
    cpu_set_t allowed{};
    bool allowedKnown = false;
    pthread_t thread{};
};

ThreadOnAnotherProcessor::ThreadOnAnotherProcessor(std::function<void()> work)
    : m_work(std::move(work)) {
    auto running = std::make_unique<Running>();
    running->work = &m_work;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        m_work();
        return;
    }
    running->allowedKnown = sched_getaffinity(0, sizeof running->allowed, &running->allowed) == 0;
    const int current = sched_getcpu();
    if (running->allowedKnown && current >= 0 && current < CPU_SETSIZE &&
        CPU_ISSET(current, &running->allowed) && CPU_COUNT(&running->allowed) > 1) {
        cpu_set_t others = running->allowed;
        CPU_CLR(current, &others);
        pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
    }
    bool started = pthread_create(&running->thread, &attributes, &Running::Run, running.get()) == 0;
    // A processor set the system refuses does not stop the work.
    if (!started)
        started = pthread_create(&running->thread, nullptr, &Running::Run, running.get()) == 0;
    pthread_attr_destroy(&attributes);
    if (started)
        m_running = std::move(running);
    else
        m_work();
}

ThreadOnAnotherProcessor::~ThreadOnAnotherProcessor() {
    Join();
}

void ThreadOnAnotherProcessor::Join() {
    if (m_running) {
        pthread_join(m_running->thread, nullptr);
        m_running.reset();
    }
}

} // namespace kelvane
