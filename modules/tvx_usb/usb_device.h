// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvx_usb {

// One device of the list, its texts in UTF-8 as they were read.
struct UsbDevice {
    std::string name;
    std::string label;
    uint16_t vendorId = 0; // 0 for a device from the devices file
    uint16_t productId = 0;
};

// Against runaway input: no more devices than this are listed.
constexpr size_t kMaxDevices = 4096;

} // namespace tvx_usb
