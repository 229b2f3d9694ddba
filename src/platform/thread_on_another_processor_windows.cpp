// SPDX-License-Identifier: MIT
#include "platform/thread_on_another_processor.h"

#include <system_error>
#include <thread>
#include <utility>

namespace kelvane {

struct ThreadOnAnotherProcessor::Running {
    std::thread thread;
};

ThreadOnAnotherProcessor::ThreadOnAnotherProcessor(std::function<void()> work)
    : m_work(std::move(work)) {
    try {
        m_running = std::make_unique<Running>(Running{std::thread([this] { m_work(); })});
    } catch (const std::system_error&) {
        m_work();
    }
}

ThreadOnAnotherProcessor::~ThreadOnAnotherProcessor() {
    Join();
}

void ThreadOnAnotherProcessor::Join() {
    if (m_running) {
        m_running->thread.join();
        m_running.reset();
    }
}

} // namespace kelvane
