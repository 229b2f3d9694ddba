// SPDX-License-Identifier: MIT
#pragma once

#include "usb_device.h"

#include <string>
#include <string_view>
#include <vector>

namespace tvx_usb {

// The devices file in use: the one KELVANE_USB_DEVICES names when it is set
// and not empty, else tvxUSB.devices in `libraryFolder`. Empty when neither
// is known.
std::string DevicesFilePath(const std::string& libraryFolder);

// The devices of a devices file, one a line: NAME, a tab and a LABEL in UTF-8
// (no tab: an empty label). A BOM at the start, lines starting with '#' and
// lines whose name is empty or only blanks are skipped. At most `room`
// devices are taken.
std::vector<UsbDevice> ParseDevicesText(std::string_view text, size_t room);

// The devices of the file at `path`; none when it cannot be read.
std::vector<UsbDevice> ReadDevicesFile(const std::string& path, size_t room);

} // namespace tvx_usb
