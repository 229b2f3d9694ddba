// SPDX-License-Identifier: MIT
#include "platform/files/content_hash.h"

#include "platform/files/file_reader.h"

#include <algorithm>
#include <cstring>

namespace kelvane {
namespace {

constexpr size_t kBlock = 32;
constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;

uint64_t Mix(uint64_t value, uint64_t multiplier) {
    value *= multiplier;
    return value ^ (value >> 29);
}

uint64_t Word(const char* bytes) {
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

} // namespace

// Four words side by side, so that each multiplication need not wait for
// the one before: 0.4 ms instead of 1.5 ms for a project file of 6.8 MB.
void ContentHasher::AddBlocks(const char* bytes, size_t length) {
    uint64_t a = m_lanes[0], b = m_lanes[1], c = m_lanes[2], d = m_lanes[3];
    for (const char* end = bytes + length; bytes < end; bytes += kBlock) {
        a = Mix(a ^ Word(bytes), kMultiplier);
        b = Mix(b ^ Word(bytes + 8), kMultiplier);
        c = Mix(c ^ Word(bytes + 16), kMultiplier);
        d = Mix(d ^ Word(bytes + 24), kMultiplier);
    }
    m_lanes[0] = a;
    m_lanes[1] = b;
    m_lanes[2] = c;
    m_lanes[3] = d;
}

void ContentHasher::Add(std::string_view bytes) {
    if (bytes.empty())
        return;
    m_size += bytes.size();
    if (m_pendingSize > 0) {
        const size_t taken = std::min(bytes.size(), kBlock - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, bytes.data(), taken);
        m_pendingSize += taken;
        bytes.remove_prefix(taken);
        if (m_pendingSize < kBlock)
            return;
        AddBlocks(m_pending, kBlock);
        m_pendingSize = 0;
    }
    const size_t whole = bytes.size() - bytes.size() % kBlock;
    AddBlocks(bytes.data(), whole);
    std::memcpy(m_pending, bytes.data() + whole, bytes.size() - whole);
    m_pendingSize = bytes.size() - whole;
}

uint64_t ContentHasher::Value() const {
    uint64_t hash = Mix(m_size, kMultiplier);
    for (const uint64_t lane : m_lanes)
        hash = Mix(hash ^ lane, 0xbf58476d1ce4e5b9ULL);
    for (size_t i = 0; i < m_pendingSize; ++i)
        hash = (hash ^ static_cast<unsigned char>(m_pending[i])) * 0x100000001b3ULL;
    return Mix(hash, kMultiplier);
}

uint64_t ContentHash(std::string_view bytes) {
    ContentHasher hasher;
    hasher.Add(bytes);
    return hasher.Value();
}

bool HashFileContents(FileReader& file, uint64_t& hash) {
    ContentHasher hasher;
    if (!file.ReadInPieces([&](std::string_view piece) {
            hasher.Add(piece);
            return true;
        }))
        return false;
    hash = hasher.Value();
    return true;
}

} // namespace kelvane
