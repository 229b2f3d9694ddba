// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

// Asks the main window to draw the project summary again.
class RepaintService {
public:
    virtual ~RepaintService() = default;
    virtual void Repaint() = 0;
};

} // namespace kelvane
