// SPDX-License-Identifier: MIT
#include "platform/process/low_address_buffer.h"

#include <sys/mman.h>

namespace kelvane {
namespace {

#ifdef MAP_32BIT
constexpr int kLowMemoryFlag = MAP_32BIT; // x86-64: the first 2 GiB
#else
constexpr int kLowMemoryFlag = 0; // other systems: accepted only if it happens to fit
#endif

} // namespace

LowAddressBuffer::LowAddressBuffer(size_t size) {
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | kLowMemoryFlag, -1, 0);
    if (memory == MAP_FAILED)
        return;
    // A cut address would point a module at some other memory.
    if (reinterpret_cast<uintptr_t>(memory) + size - 1 > UINT32_MAX) {
        munmap(memory, size);
        return;
    }
    m_data = static_cast<char*>(memory);
    m_size = size;
}

LowAddressBuffer::~LowAddressBuffer() {
    if (m_data != nullptr)
        munmap(m_data, m_size);
}

uint32_t LowAddressBuffer::Address() const {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_data));
}

} // namespace kelvane
