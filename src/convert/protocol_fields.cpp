// SPDX-License-Identifier: MIT
#include "convert/protocol_fields.h"

#include <cstring>

namespace kelvane {

std::nullopt_t Refuse(std::string& why, const char* reason) {
    why = reason;
    return std::nullopt;
}

void PutWord(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
    PutWord(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

bool FieldReader::Word(uint32_t& value) {
    if (m_rest.size() < 4)
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(m_rest[i])) << (8 * i);
    m_rest.remove_prefix(4);
    return true;
}

bool FieldReader::Bytes(char* out, size_t size) {
    if (m_rest.size() < size)
        return false;
    std::memcpy(out, m_rest.data(), size);
    m_rest.remove_prefix(size);
    return true;
}

bool FieldReader::Text(std::string& out, size_t limit) {
    uint32_t size = 0;
    if (!Word(size) || size > limit || m_rest.size() < size)
        return false;
    out.assign(m_rest.substr(0, size));
    m_rest.remove_prefix(size);
    return true;
}

bool FieldReader::Magic(const char (&magic)[4]) {
    char seen[4];
    return Bytes(seen, sizeof seen) && std::memcmp(seen, magic, sizeof seen) == 0;
}

} // namespace kelvane
