// SPDX-License-Identifier: MIT
#include "convert/usb_listing.h"

#include <algorithm>
#include <vector>

namespace kelvane {
namespace {

// The library's calls are cdecl, as the conversion modules' are.
using GetDeviceListFunction = uint32_t (*)();
using GetDeviceInfoFunction = int32_t (*)(uint32_t index, void* record);

} // namespace

UsbEntryPoints LookUpUsbEntryPoints(DynamicLibrary& library) {
    UsbEntryPoints entryPoints{};
    for (size_t i = 0; i < kUsbEntryPointNames.size(); ++i)
        entryPoints[i] = library.Symbol(kUsbEntryPointNames[i]);
    return entryPoints;
}

const char* MissingUsbListingCall(const UsbEntryPoints& entryPoints) {
    for (size_t i = 0; i < 2; ++i)
        if (entryPoints[i] == nullptr)
            return kUsbEntryPointNames[i];
    return nullptr;
}

UsbHostAnswer ListUsbDevices(const UsbEntryPoints& entryPoints) {
    auto* getDeviceList = reinterpret_cast<GetDeviceListFunction>(entryPoints[0]);
    auto* getDeviceInfo = reinterpret_cast<GetDeviceInfoFunction>(entryPoints[1]);
    UsbHostAnswer answer;
    answer.reported = getDeviceList();
    const uint32_t count = std::min(answer.reported, kMaxUsbDevices);
    // The records lie back to back in one zero-filled buffer, as the
    // library's own programs lay them.
    std::vector<unsigned char> records(size_t{count} * kUsbDeviceRecordSize, 0);
    answer.devices.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        unsigned char* record = records.data() + size_t{i} * kUsbDeviceRecordSize;
        UsbHostDevice& device = answer.devices[i];
        device.filled = getDeviceInfo(i, record) != 0;
        std::copy_n(record, kUsbDeviceRecordSize, device.record.begin());
    }
    return answer;
}

} // namespace kelvane
