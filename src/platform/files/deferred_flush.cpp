// SPDX-License-Identifier: MIT
#include "platform/files/deferred_flush.h"

#include <mutex>
#include <utility>

namespace kelvane {
namespace {

struct DeferredFlushes {
    std::mutex mutex;
    bool deferred = false;
    std::vector<std::string> files;
};

DeferredFlushes& State() {
    static DeferredFlushes state;
    return state;
}

} // namespace

std::string DeferredFlushPath(const std::string& transactionTarget); // per system

void DeferFlushes(bool deferred) {
    std::lock_guard lock(State().mutex);
    State().deferred = deferred;
}

bool FlushesDeferred() {
    std::lock_guard lock(State().mutex);
    return State().deferred;
}

void NoteDeferredFlush(const std::string& transactionTarget) {
    std::string path = DeferredFlushPath(transactionTarget);
    std::lock_guard lock(State().mutex);
    State().files.push_back(std::move(path));
}

std::vector<std::string> TakeDeferredFlushes() {
    std::lock_guard lock(State().mutex);
    return std::exchange(State().files, {});
}

} // namespace kelvane
