// SPDX-License-Identifier: MIT
#pragma once

#include "usb_device.h"

namespace tvx_usb {

// Writes all TVX_USB_RECORD_SIZE bytes of `record`: the ids, the label and
// the name, each text cut to its field.
void WriteDeviceRecord(const UsbDevice& device, unsigned char* record);

} // namespace tvx_usb
