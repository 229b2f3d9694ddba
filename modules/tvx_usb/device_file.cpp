// SPDX-License-Identifier: MIT
#include "device_file.h"

#include "text_file.h"
#include "tvx_usb.h"

#include <cstdlib>
#include <utility>

namespace tvx_usb {
namespace {

// Far more than any real list; a bigger file is read only this far.
constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

// Bytes of a text kept: enough UTF-8 to fill the longer field, so cutting
// here never changes what a record shows.
constexpr size_t kKeptTextBytes = 4 * TVX_USB_NAME_UNITS;

} // namespace

std::string DevicesFilePath(const std::string& libraryFolder) {
    const char* named = std::getenv("KELVANE_USB_DEVICES");
    if (named != nullptr && *named != '\0')
        return named;
    return libraryFolder.empty() ? std::string() : libraryFolder + "/tvxUSB.devices";
}

std::vector<UsbDevice> ParseDevicesText(std::string_view text, size_t room) {
    text = WithoutBom(text);
    std::vector<UsbDevice> devices;
    std::string_view line;
    while (devices.size() < room && NextLine(text, line)) {
        if (!line.empty() && line.front() == '#')
            continue;
        const size_t tab = line.find('\t');
        const std::string_view name = line.substr(0, tab);
        if (IsBlank(name))
            continue;
        UsbDevice device;
        device.name = name.substr(0, kKeptTextBytes);
        if (tab != std::string_view::npos)
            device.label = line.substr(tab + 1, kKeptTextBytes);
        devices.push_back(std::move(device));
    }
    return devices;
}

std::vector<UsbDevice> ReadDevicesFile(const std::string& path, size_t room) {
    if (path.empty() || room == 0)
        return {};
    return ParseDevicesText(ReadTextFile(path, kMaxFileBytes), room);
}

} // namespace tvx_usb
