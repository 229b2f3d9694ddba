// SPDX-License-Identifier: MIT
#pragma once

// The two calls of a USB access library that list its devices, made the
// same way in the program (the substitute .so) and in the module host (a
// DLL). Plain standard C++ over platform/, built into both hosts.

#include "convert/usb_host_protocol.h"
#include "platform/process/dynamic_library.h"

#include <array>

namespace kelvane {

// The library's entry points in the order they are looked up; the first
// two list the devices, the other ten are looked up and never called.
inline constexpr std::array<const char*, 12> kUsbEntryPointNames = {
    "USB_GetDeviceList",
    "USB_GetDeviceInfo",
    "USB_Check",
    "USB_DeviceOpen",
    "USB_DeviceClose",
    "USB_SetReadWriteCondition",
    "USB_GetReadWriteCondition",
    "USB_BlkDataWrite",
    "USB_BlkDataRead",
    "USB_GetErrorInfo",
    "USB_PurgeDevice",
    "USB_GetPipeAddress",
};
using UsbEntryPoints = std::array<void*, kUsbEntryPointNames.size()>;

// Looks every entry point up by name; a missing one stays null.
UsbEntryPoints LookUpUsbEntryPoints(DynamicLibrary& library);

// The name of the first call the listing needs that the library lacks, or
// nullptr when it has both.
const char* MissingUsbListingCall(const UsbEntryPoints& entryPoints);

// Asks for the count, then for the record of each device up to
// kMaxUsbDevices, each in a zero-filled record. The entry points must not
// lack a listing call.
UsbHostAnswer ListUsbDevices(const UsbEntryPoints& entryPoints);

} // namespace kelvane
