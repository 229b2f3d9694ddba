// SPDX-License-Identifier: MIT
#pragma once

// The fields the program and the module host exchange: little-endian 32-bit
// words, texts as a length and their bytes, fixed byte runs. Plain standard
// C++, built into both hosts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// Leaves why a message is refused in `why`.
std::nullopt_t Refuse(std::string& why, const char* reason);

void PutWord(std::string& out, uint32_t value);
void PutText(std::string& out, std::string_view text);

// Reads fields off the front of a message, never past its end.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : m_rest(bytes) {}

    bool Word(uint32_t& value);
    bool Bytes(char* out, size_t size);
    // A text no longer than `limit`; a longer one is refused, never cut.
    bool Text(std::string& out, size_t limit);
    bool Magic(const char (&magic)[4]);
    bool AtEnd() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

} // namespace kelvane
