// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane {

// A zeroed buffer whose address fits in 32 bits, for a field of the
// conversion block that modules read as a 32-bit pointer.
class LowAddressBuffer {
public:
    explicit LowAddressBuffer(size_t size);
    ~LowAddressBuffer();
    LowAddressBuffer(const LowAddressBuffer&) = delete;
    LowAddressBuffer& operator=(const LowAddressBuffer&) = delete;

    // False when no memory below 4 GiB could be had.
    bool IsValid() const { return m_data != nullptr; }
    char* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    uint32_t Address() const;

private:
    char* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace kelvane
