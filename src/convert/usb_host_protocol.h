// SPDX-License-Identifier: MIT
#pragma once

// The module host's answer to a USB device listing
// (ModuleHostCall::ListUsbDevices): the records the library filled, as it
// filled them. Plain standard C++, built into both hosts.

#include "convert/module_host_protocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The record USB_GetDeviceInfo fills: the program reads two UTF-16 texts.
inline constexpr size_t kUsbDeviceRecordSize = 1806;
inline constexpr size_t kUsbLabelOffset = 522;
inline constexpr size_t kUsbNameOffset = 778;
using UsbDeviceRecord = std::array<unsigned char, kUsbDeviceRecordSize>;

// The most devices one detection lists; the application's table holds as many.
inline constexpr uint32_t kMaxUsbDevices = 128;

enum class UsbHostStatus : uint32_t {
    Listed = 0,      // the library was asked; devices holds what it said
    CannotLoad = 1,  // detail: the loader's reason
    MissingCall = 2, // detail: the entry point the listing needs
    Crashed = 3,     // detail: what the system said
};

struct UsbHostDevice {
    bool filled = false; // USB_GetDeviceInfo returned nonzero
    UsbDeviceRecord record{};
};

struct UsbHostAnswer {
    UsbHostStatus status = UsbHostStatus::Listed;
    // What USB_GetDeviceList returned; past kMaxUsbDevices only the first
    // kMaxUsbDevices devices are asked for and sent.
    uint32_t reported = 0;
    std::vector<UsbHostDevice> devices;
    std::string detail;
};

inline constexpr size_t kUsbAnswerLimit =
    24 + kMaxUsbDevices * (4 + kUsbDeviceRecordSize) + kModuleDetailLimit;

// The encoder sends at most kMaxUsbDevices devices and cuts the detail to
// its limit.
std::string EncodeUsbAnswer(const UsbHostAnswer& answer);
// Accepts only a whole answer, exactly its size, of at most kMaxUsbDevices
// devices and no more than were reported; the reason for a refusal goes to
// `why`.
std::optional<UsbHostAnswer> DecodeUsbAnswer(std::string_view bytes, std::string& why);
// The length of the whole answer that `received` begins, once enough of it
// has come to tell; a length past the limits is given as what has come.
std::optional<size_t> UsbAnswerLength(std::string_view received);

} // namespace kelvane
