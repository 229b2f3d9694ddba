// SPDX-License-Identifier: MIT
// In a 32-bit process every address fits the block's 32-bit field.
#include "platform/low_address_buffer.h"

#include <windows.h>

namespace kelvane {

LowAddressBuffer::LowAddressBuffer(size_t size) {
    void* memory = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (memory == nullptr)
        return;
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
