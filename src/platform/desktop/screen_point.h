// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

// A position in screen coordinates, in pixels.
struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

} // namespace kelvane
