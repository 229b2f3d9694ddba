// SPDX-License-Identifier: MIT
#pragma once

#include "usb_device.h"

#include <string>
#include <vector>

namespace tvx_usb {

// The devices on the bus whose vendor:product pair tvxUSB.conf in
// `libraryFolder` lists, at most `room`, in the order of their place on the
// bus. None without that file, which leaves the bus alone, or when the
// library was built without USB access.
std::vector<UsbDevice> ScanUsbDevices(const std::string& libraryFolder, size_t room);

} // namespace tvx_usb
