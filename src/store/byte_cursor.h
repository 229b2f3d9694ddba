// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// Reads little-endian fields from a block of bytes, checking every field
// against the end of the block before it is read.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view data) : m_data(data) {}

    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_data.size() - m_pos; }

    bool ReadU32(uint32_t& value) {
        if (Remaining() < 4)
            return false;
        const auto* p = reinterpret_cast<const unsigned char*>(m_data.data() + m_pos);
        value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        m_pos += 4;
        return true;
    }

    bool ReadBytes(size_t length, std::string_view& bytes) {
        if (Remaining() < length)
            return false;
        bytes = m_data.substr(m_pos, length);
        m_pos += length;
        return true;
    }

    // A text preceded by its 32-bit length.
    bool ReadText(std::string_view& text) {
        uint32_t length = 0;
        return ReadU32(length) && ReadBytes(length, text);
    }

    bool Skip(size_t length) {
        std::string_view skipped;
        return ReadBytes(length, skipped);
    }

private:
    std::string_view m_data;
    size_t m_pos = 0;
};

inline void AppendU32(std::string& out, uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF),
                           static_cast<char>((value >> 24) & 0xFF)};
    out.append(bytes, 4);
}

// A text with its 32-bit length in front.
inline void AppendText(std::string& out, std::string_view text) {
    AppendU32(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

} // namespace kelvane
