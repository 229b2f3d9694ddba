// SPDX-License-Identifier: MIT
#pragma once

// Services for benchmarks that run the application without a front: nothing
// is drawn and the profile keeps nothing.

#include "platform/desktop/repaint.h"
#include "platform/registry/profile.h"

#include <string>
#include <string_view>

namespace kelvane::bench {

class NoRepaint : public RepaintService {
public:
    void Repaint() override {}
};

class NoProfile : public Profile {
public:
    std::string GetProfileString(std::string_view, std::string_view,
                                 std::string_view fallback) override {
        return std::string(fallback);
    }
    bool WriteProfileString(std::string_view, std::string_view, std::string_view) override {
        return true;
    }
};

} // namespace kelvane::bench
