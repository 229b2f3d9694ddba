// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/usb_access.h"

#include <array>
#include <cstdint>
#include <string>

namespace kelvane {

// The devices of the last detection that found any; kept by the application
// for the whole run, beside the project but not part of it.
struct UsbDeviceTable {
    int32_t m_nUsbDeviceCount = 0;
    int32_t m_nUsbDeviceSel = 0;
    std::array<std::string, kMaxUsbDevices> m_astrUsbDevices;
};

} // namespace kelvane
