// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// What the front does while the program waits for another process: a wait
// cursor, a note, and drawing the window meanwhile. Commands stay modal: no
// user input is taken while a wait lasts.
class WaitIndicator {
public:
    virtual ~WaitIndicator() = default;
    // `note` is empty or a text to show while the wait lasts.
    virtual void BeginWait(const std::string& note) = 0;
    // Called every few tens of milliseconds during the wait.
    virtual void KeepResponsive() = 0;
    virtual void EndWait() = 0;
};

// Shows nothing.
WaitIndicator& SilentWaitIndicator();

// Begins a wait on construction and ends it when it goes.
class ScopedWait {
public:
    ScopedWait(WaitIndicator& indicator, const std::string& note) : m_indicator(indicator) {
        m_indicator.BeginWait(note);
    }
    ~ScopedWait() { m_indicator.EndWait(); }
    ScopedWait(const ScopedWait&) = delete;
    ScopedWait& operator=(const ScopedWait&) = delete;

private:
    WaitIndicator& m_indicator;
};

} // namespace kelvane
