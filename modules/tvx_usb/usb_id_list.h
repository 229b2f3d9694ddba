// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tvx_usb {

struct UsbId {
    uint16_t vendorId;
    uint16_t productId;
};

// The vendor:product pairs of a tvxUSB.conf text: one pair of hex numbers a
// line ("0abc:12ef"), blanks around it allowed, '#' starting a comment. Lines
// that hold no such pair are skipped.
std::vector<UsbId> ParseUsbIds(std::string_view text);

} // namespace tvx_usb
