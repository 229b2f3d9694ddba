// SPDX-License-Identifier: MIT
#pragma once

#include "convert/usb_host_client.h"
#include "convert/usb_host_protocol.h"
#include "convert/usb_listing.h"
#include "platform/process/dynamic_library.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The USB access library of the ICE family. It only enumerates: of its
// twelve entry points two are called. The substitute .so is loaded for the
// life of the object; a Windows DLL runs in a module host, started anew by
// each Refresh, so that a crash or a hang of it cannot reach the program.
class CUsbAccess {
public:
    // The library is looked for beside the program first (LocateUsbLibrary).
    explicit CUsbAccess(const std::string& libraryName = std::string("tvxUSB") + kLibrarySuffix);
    virtual ~CUsbAccess();
    CUsbAccess(const CUsbAccess&) = delete;
    CUsbAccess& operator=(const CUsbAccess&) = delete;

    // Asks the library for its devices again. A library that is missing,
    // lacks either call, crashes or hangs reports none; past kMaxUsbDevices
    // the rest is left out.
    void Refresh();
    uint32_t Count() const { return m_nDeviceCount; }
    // Why no device can be listed at all: the library did not load, lacks a
    // call the listing needs, or (for one in a host, known after Refresh)
    // crashed, hung or could not be run; empty when it can list.
    const std::string& Unusable() const { return m_strUnusable; }
    // "NAME LABEL" of device i in the project code page; empty for a device
    // the library could not describe.
    const std::string& Text(uint32_t index) const { return m_astrDeviceTexts.at(index); }

private:
    void TakeDevices(const UsbHostAnswer& answer);

    DynamicLibrary m_module;
    UsbEntryPoints m_apEntryPoints{};
    std::optional<ModuleLocation> m_host; // where a DLL is called instead
    uint32_t m_nDeviceCount = 0;
    std::vector<std::string> m_astrDeviceTexts;
    std::string m_strUnusable;
};

// The entry text of one filled record: name, a blank, label.
std::string UsbDeviceEntryText(const unsigned char* record);

} // namespace kelvane
