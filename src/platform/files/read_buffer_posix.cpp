// SPDX-License-Identifier: MIT
#include "platform/files/read_buffer.h"

#include <cstdint>
#include <sys/mman.h>

namespace kelvane {
namespace {

constexpr size_t kHugePage = size_t(2) << 20;

char* MapAligned(size_t length) {
    // Twice the alignment's worth more, then the ends cut off, gives an
    // aligned mapping whatever address the kernel picks.
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (aligned != start)
        munmap(raw, aligned - start);
    const size_t tail = kHugePage - (aligned - start);
    if (tail != 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    return reinterpret_cast<char*>(aligned);
}

} // namespace

std::shared_ptr<char[]> AllocateReadBuffer(size_t size) {
    if (size >= kHugePage) {
        const size_t length = (size + kHugePage - 1) & ~(kHugePage - 1);
        if (char* memory = MapAligned(length)) {
            // Only advice: without huge pages the mapping works as well.
            madvise(memory, length, MADV_HUGEPAGE);
            return std::shared_ptr<char[]>(memory, [length](char* p) { munmap(p, length); });
        }
    }
    return std::shared_ptr<char[]>(new char[size]);
}

} // namespace kelvane
