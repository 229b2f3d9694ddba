// SPDX-License-Identifier: MIT
#pragma once

#include <cstring>
#include <string_view>

namespace kelvane {

// The text held in a fixed, zero-terminated character field; never reads past
// the field even when its terminator is missing.
template <size_t N> std::string_view FieldText(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// Copies `text` with its terminator into the field; false, and the field left
// as it was, when the text does not fit.
template <size_t N> bool CopyToField(char (&field)[N], std::string_view text) {
    if (text.size() >= N)
        return false;
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

} // namespace kelvane
