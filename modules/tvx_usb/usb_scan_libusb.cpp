// SPDX-License-Identifier: MIT
#include "usb_scan.h"

#include "text_file.h"
#include "usb_id_list.h"
#include "utf16_text.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

namespace tvx_usb {
namespace {

constexpr size_t kMaxConfBytes = 64 * 1024;
// A device that does not answer must not hold up the Detect button for long.
constexpr unsigned kTransferTimeoutMs = 500;
constexpr uint16_t kUsEnglish = 0x0409;
constexpr uint8_t kStandardDeviceIn = uint8_t{LIBUSB_ENDPOINT_IN} |
                                      uint8_t{LIBUSB_REQUEST_TYPE_STANDARD} |
                                      uint8_t{LIBUSB_RECIPIENT_DEVICE};

struct Found {
    std::vector<uint8_t> place; // bus, then the ports from the root
    UsbDevice device;
};

std::string IdText(uint16_t vendorId, uint16_t productId) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}

// Where the device is plugged in, as the system names it: "1-2.3" is port 3
// of the hub at port 2 of bus 1. It stays the same while the device is
// plugged into the same port.
std::string PlaceText(const std::vector<uint8_t>& place) {
    std::string text = std::to_string(place.front());
    for (size_t i = 1; i < place.size(); ++i)
        text += (i == 1 ? "-" : ".") + std::to_string(place[i]);
    return text;
}

// Reads string descriptor `index` as raw bytes; the byte count, or a
// negative libusb error.
int ReadStringDescriptor(libusb_device_handle* handle, uint8_t index, uint16_t language,
                         unsigned char (&data)[255]) {
    const int got =
        libusb_control_transfer(handle, kStandardDeviceIn, LIBUSB_REQUEST_GET_DESCRIPTOR,
                                static_cast<uint16_t>((LIBUSB_DT_STRING << 8) | index), language,
                                data, sizeof data, kTransferTimeoutMs);
    if (got < 2 || data[1] != LIBUSB_DT_STRING)
        return got < 0 ? got : LIBUSB_ERROR_IO;
    return std::min<int>(got, data[0]);
}

// The device's first language, US English when it does not say.
uint16_t FirstLanguage(libusb_device_handle* handle) {
    unsigned char data[255];
    const int length = ReadStringDescriptor(handle, 0, 0, data);
    return length >= 4 ? static_cast<uint16_t>(data[2] | data[3] << 8) : kUsEnglish;
}

// String `index` in UTF-8; empty when the device has none or does not say.
std::string ReadString(libusb_device_handle* handle, uint8_t index, uint16_t language) {
    if (index == 0)
        return {};
    unsigned char data[255];
    const int length = ReadStringDescriptor(handle, index, language, data);
    std::u16string text;
    for (int i = 2; i + 1 < length; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == 0) // some devices pad their strings
            break;
        text.push_back(unit);
    }
    return Utf16ToUtf8(text);
}

// Names a device by its serial number, which goes with the unit wherever it
// is plugged in. A device that has none, or that this user may not open, is
// named by its ids and place; the label of one that cannot be opened says
// why, so the user sees it is there but not usable.
UsbDevice Describe(libusb_device* usbDevice, const libusb_device_descriptor& descriptor,
                   const std::vector<uint8_t>& place) {
    UsbDevice device;
    device.vendorId = descriptor.idVendor;
    device.productId = descriptor.idProduct;
    const std::string ids = IdText(device.vendorId, device.productId);
    libusb_device_handle* opening = nullptr;
    const int opened = libusb_open(usbDevice, &opening);
    if (opened == 0) {
        const std::unique_ptr<libusb_device_handle, decltype(&libusb_close)> handle(opening,
                                                                                    libusb_close);
        const uint16_t language = FirstLanguage(handle.get());
        device.name = ReadString(handle.get(), descriptor.iSerialNumber, language);
        device.label = ReadString(handle.get(), descriptor.iProduct, language);
    }
    if (IsBlank(device.name))
        device.name = ids + "@" + PlaceText(place);
    if (opened != 0)
        device.label = ids + " (cannot open: " + libusb_strerror(opened) + ")";
    else if (IsBlank(device.label))
        device.label = "USB device " + ids;
    return device;
}

std::vector<uint8_t> Place(libusb_device* device) {
    uint8_t ports[8];
    const int count = libusb_get_port_numbers(device, ports, sizeof ports);
    std::vector<uint8_t> place{libusb_get_bus_number(device)};
    for (int i = 0; i < count; ++i)
        place.push_back(ports[i]);
    return place;
}

bool Listed(const std::vector<UsbId>& ids, const libusb_device_descriptor& descriptor) {
    return std::any_of(ids.begin(), ids.end(), [&](const UsbId& id) {
        return id.vendorId == descriptor.idVendor && id.productId == descriptor.idProduct;
    });
}

} // namespace

std::vector<UsbDevice> ScanUsbDevices(const std::string& libraryFolder, size_t room) {
    if (libraryFolder.empty() || room == 0)
        return {};
    const std::vector<UsbId> ids =
        ParseUsbIds(ReadTextFile(libraryFolder + "/tvxUSB.conf", kMaxConfBytes));
    if (ids.empty())
        return {};

    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0)
        return {};
    std::vector<Found> found;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    try {
        for (ssize_t i = 0; i < count && found.size() < room; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(list[i], &descriptor) != 0 || !Listed(ids, descriptor))
                continue;
            std::vector<uint8_t> place = Place(list[i]);
            UsbDevice device = Describe(list[i], descriptor, place);
            found.push_back({std::move(place), std::move(device)});
        }
    } catch (...) {
        found.clear();
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    libusb_exit(context);

    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.place < b.place; });
    std::vector<UsbDevice> devices;
    for (Found& entry : found)
        devices.push_back(std::move(entry.device));
    return devices;
}

} // namespace tvx_usb
