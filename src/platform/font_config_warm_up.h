// SPDX-License-Identifier: MIT
#pragma once

#include <thread>

namespace kelvane {

// Loads the system's font configuration on a thread of its own. Reading
// its files is the largest part of a window's first text, and takes as
// long as the rest of Qt's start; started first, the two overlap.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Before the first text is measured: a font lookup made while the
    // configuration loads would load a second one beside it.
    void Wait();

private:
    std::thread m_thread;
};

} // namespace kelvane
