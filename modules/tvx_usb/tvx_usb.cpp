// SPDX-License-Identifier: MIT
// The substitute USB access library: lists the devices of a devices file and,
// when built with libusb, the USB devices tvxUSB.conf names. It opens no
// connection; the calls Kelvane does not make only answer 0.
#include "tvx_usb.h"

#include "device_file.h"
#include "device_record.h"
#include "library_folder.h"
#include "usb_scan.h"

#include <iterator>
#include <mutex>
#include <vector>

namespace {

using tvx_usb::UsbDevice;

std::mutex g_mutex;
std::vector<UsbDevice> g_devices; // the last list, guarded by g_mutex

// Taken at load time, while a relative path the library was loaded by still
// means what it meant.
const std::string g_folder = tvx_usb::LibraryFolder();

std::vector<UsbDevice> FindDevices() {
    std::vector<UsbDevice> devices =
        tvx_usb::ReadDevicesFile(tvx_usb::DevicesFilePath(g_folder), tvx_usb::kMaxDevices);
    std::vector<UsbDevice> onBus =
        tvx_usb::ScanUsbDevices(g_folder, tvx_usb::kMaxDevices - devices.size());
    devices.insert(devices.end(), std::make_move_iterator(onBus.begin()),
                   std::make_move_iterator(onBus.end()));
    return devices;
}

} // namespace

uint32_t USB_GetDeviceList(void) {
    // Nothing may be thrown across the C interface: running out of memory
    // lists no devices.
    std::vector<UsbDevice> devices;
    try {
        devices = FindDevices();
    } catch (...) {
        devices.clear();
    }
    const std::lock_guard lock(g_mutex);
    g_devices.swap(devices);
    return static_cast<uint32_t>(g_devices.size());
}

int32_t USB_GetDeviceInfo(uint32_t index, void* record) {
    const std::lock_guard lock(g_mutex);
    if (record == nullptr || index >= g_devices.size())
        return 0;
    try {
        tvx_usb::WriteDeviceRecord(g_devices[index], static_cast<unsigned char*>(record));
    } catch (...) {
        return 0;
    }
    return 1;
}

int32_t USB_Check(void) {
    return 0;
}
int32_t USB_DeviceOpen(void) {
    return 0;
}
int32_t USB_DeviceClose(void) {
    return 0;
}
int32_t USB_SetReadWriteCondition(void) {
    return 0;
}
int32_t USB_GetReadWriteCondition(void) {
    return 0;
}
int32_t USB_BlkDataWrite(void) {
    return 0;
}
int32_t USB_BlkDataRead(void) {
    return 0;
}
int32_t USB_GetErrorInfo(void) {
    return 0;
}
int32_t USB_PurgeDevice(void) {
    return 0;
}
int32_t USB_GetPipeAddress(void) {
    return 0;
}
