// SPDX-License-Identifier: MIT
#include "platform/thread_on_another_processor.h"

#include <utility>

namespace kelvane {

ThreadOnAnotherProcessor::ThreadOnAnotherProcessor(std::function<void()> work)
    : m_work(std::move(work)) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        m_work();
        return;
    }
    m_allowedKnown = sched_getaffinity(0, sizeof m_allowed, &m_allowed) == 0;
    const int current = sched_getcpu();
    if (m_allowedKnown && current >= 0 && current < CPU_SETSIZE && CPU_ISSET(current, &m_allowed) &&
        CPU_COUNT(&m_allowed) > 1) {
        cpu_set_t others = m_allowed;
        CPU_CLR(current, &others);
        pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
    }
    m_joinable = pthread_create(&m_thread, &attributes, &ThreadOnAnotherProcessor::Run, this) == 0;
    // A processor set the system refuses does not stop the work.
    if (!m_joinable)
        m_joinable = pthread_create(&m_thread, nullptr, &ThreadOnAnotherProcessor::Run, this) == 0;
    pthread_attr_destroy(&attributes);
    if (!m_joinable)
        m_work();
}

ThreadOnAnotherProcessor::~ThreadOnAnotherProcessor() {
    Join();
}

void ThreadOnAnotherProcessor::Join() {
    if (m_joinable) {
        pthread_join(m_thread, nullptr);
        m_joinable = false;
    }
}

void* ThreadOnAnotherProcessor::Run(void* self) {
    auto& thread = *static_cast<ThreadOnAnotherProcessor*>(self);
    if (thread.m_allowedKnown)
        pthread_setaffinity_np(pthread_self(), sizeof thread.m_allowed, &thread.m_allowed);
    thread.m_work();
    return nullptr;
}

} // namespace kelvane
