// SPDX-License-Identifier: MIT
#include "platform/process/low_address_buffer.h"

#include <windows.h>

namespace kelvane {

namespace {

// In a 32-bit process every address fits the block's 32-bit field; in a
// 64-bit one the memory is asked for below 4 GiB, place by place.
void* AllocateBelow4GiB(size_t size) {
    if constexpr (sizeof(void*) == 4)
        return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    constexpr uint64_t kStep = 1 << 16; // the allocation granularity
    for (uint64_t at = kStep; at + size <= (uint64_t(1) << 32); at += kStep * 256)
        if (void* memory = VirtualAlloc(reinterpret_cast<void*>(static_cast<uintptr_t>(at)), size,
                                        MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
            return memory;
    return nullptr;
}

} // namespace

LowAddressBuffer::LowAddressBuffer(size_t size) {
    void* memory = AllocateBelow4GiB(size);
    if (memory == nullptr)
        return;
    if (reinterpret_cast<uintptr_t>(memory) + size - 1 > UINT32_MAX) {
        VirtualFree(memory, 0, MEM_RELEASE);
        return;
    }
    m_data = static_cast<char*>(memory);
    m_size = size;
}

LowAddressBuffer::~LowAddressBuffer() {
    if (m_data != nullptr)
        VirtualFree(m_data, 0, MEM_RELEASE);
}

uint32_t LowAddressBuffer::Address() const {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_data));
}

} // namespace kelvane
