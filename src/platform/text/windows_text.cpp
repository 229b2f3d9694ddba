// SPDX-License-Identifier: MIT
#include "platform/text/windows_text.h"

#include <algorithm>
#include <windows.h>

namespace kelvane {

// Malformed UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8) {
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
    return wide;
}

} // namespace kelvane
