// SPDX-License-Identifier: MIT
#pragma once

#include "platform/thread_on_another_processor.h"

namespace kelvane {

// Loads the system's font configuration on a thread of its own. Reading
// its files is the largest part of a window's first text, and takes as
// long as the rest of Qt's start; started first, the two overlap.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();

    // Before the first text is measured: a font lookup made while the
    // configuration loads would load a second one beside it.
    void Wait() { m_thread.Join(); }

private:
    ThreadOnAnotherProcessor m_thread;
};

} // namespace kelvane
