// SPDX-License-Identifier: MIT
#pragma once

#include "convert/module_host_protocol.h"
#include "convert/usb_host_protocol.h"

namespace kelvane {

// Loads the request's USB access library, lists its devices and unloads it.
UsbHostAnswer AnswerUsbRequest(const ModuleHostRequest& request);

} // namespace kelvane
