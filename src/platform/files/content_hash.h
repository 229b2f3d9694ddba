// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelvane {

class FileReader;

// A hash of a file's bytes, to tell whether another program has changed
// them, taken in pieces as they are read or written: however the bytes are
// split, the same bytes give the same value. It is never stored, so it may
// differ between builds.
class ContentHasher {
public:
    void Add(std::string_view bytes);
    uint64_t Value() const;

private:
    // Adds whole blocks of 32 bytes; the length is a multiple of 32.
    void AddBlocks(const char* bytes, size_t length);

    uint64_t m_lanes[4] = {0x243f6a8885a308d3ULL, 0x13198a2e03707344ULL, 0xa4093822299f31d0ULL,
                           0x082efa98ec4e6c89ULL};
    char m_pending[32] = {};
    size_t m_pendingSize = 0;
    uint64_t m_size = 0;
};

uint64_t ContentHash(std::string_view bytes);

// ContentHash of the open file's bytes, read from its start; false when they
// cannot all be read.
bool HashFileContents(FileReader& file, uint64_t& hash);

} // namespace kelvane
