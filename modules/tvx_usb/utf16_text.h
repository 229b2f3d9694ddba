// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tvx_usb {

// UTF-8 to UTF-16. Each maximal ill-formed part (a stray byte, a cut-off or
// overlong sequence, an encoded surrogate, a value beyond U+10FFFF) becomes
// one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace tvx_usb
