// SPDX-License-Identifier: MIT
#include "platform/process/wait_indicator.h"

namespace kelvane {
namespace {

class SilentWait : public WaitIndicator {
public:
    void BeginWait(const std::string&) override {}
    void KeepResponsive() override {}
    void EndWait() override {}
};

} // namespace

WaitIndicator& SilentWaitIndicator() {
    static SilentWait silent;
    return silent;
}

} // namespace kelvane
