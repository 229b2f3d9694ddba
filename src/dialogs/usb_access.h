// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dynamic_library.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// The record USB_GetDeviceInfo fills: the program reads two UTF-16 texts.
inline constexpr size_t kUsbDeviceRecordSize = 1806;
inline constexpr size_t kUsbLabelOffset = 522;
inline constexpr size_t kUsbNameOffset = 778;

// The most devices one detection lists; the application's table holds as many.
inline constexpr uint32_t kMaxUsbDevices = 128;

// The USB access library of the ICE family, loaded for the life of the
// object. It only enumerates: of its twelve entry points two are called.
class CUsbAccess {
public:
    // The library is looked for beside the program first.
    explicit CUsbAccess(const std::string& libraryName = std::string("tvxUSB") + kLibrarySuffix);
    virtual ~CUsbAccess();
    CUsbAccess(const CUsbAccess&) = delete;
    CUsbAccess& operator=(const CUsbAccess&) = delete;

    // Asks the library for its devices again. A library that is missing or
    // lacks either call reports none; past kMaxUsbDevices the rest is left out.
    void Refresh();
    uint32_t Count() const { return m_nDeviceCount; }
    // Why no device can be listed at all: the library did not load or lacks
    // a call the listing needs; empty when it can list.
    const std::string& Unusable() const { return m_strUnusable; }
    // "NAME LABEL" of device i in the project code page; empty for a device
    // the library could not describe.
    const std::string& Text(uint32_t index) const { return m_astrDeviceTexts.at(index); }

private:
    using GetDeviceListFunction = uint32_t (*)();
    using GetDeviceInfoFunction = int32_t (*)(uint32_t index, void* record);

    DynamicLibrary m_module;
    void* m_apEntryPoints[12] = {};
    uint32_t m_nDeviceCount = 0;
    std::vector<std::string> m_astrDeviceTexts;
    std::string m_strUnusable;
};

// The entry text of one filled record: name, a blank, label.
std::string UsbDeviceEntryText(const unsigned char* record);

} // namespace kelvane
