// SPDX-License-Identifier: MIT
#include "dialogs/usb_access.h"

#include "platform/code_page.h"

#include <algorithm>
#include <cstring>

namespace kelvane {
namespace {

constexpr const char* kEntryPointNames[12] = {
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

// A UTF-16 text from `offset` to its terminator, never past the record.
std::u16string RecordText(const unsigned char* record, size_t offset) {
    std::u16string text;
    for (size_t at = offset; at + 1 < kUsbDeviceRecordSize; at += 2) {
        const char16_t unit = static_cast<char16_t>(record[at] | record[at + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

} // namespace

std::string UsbDeviceEntryText(const unsigned char* record) {
    return Utf16ToProject(RecordText(record, kUsbNameOffset)) + " " +
           Utf16ToProject(RecordText(record, kUsbLabelOffset));
}

CUsbAccess::CUsbAccess(const std::string& libraryName) {
    if (!m_module.Load(libraryName)) {
        m_strUnusable = libraryName + ": " + m_module.Error();
        return;
    }
    for (size_t i = 0; i < std::size(kEntryPointNames); ++i)
        m_apEntryPoints[i] = m_module.Symbol(kEntryPointNames[i]);
    for (size_t i = 0; i < 2; ++i)
        if (m_apEntryPoints[i] == nullptr)
            m_strUnusable = libraryName + " has no " + kEntryPointNames[i];
}

CUsbAccess::~CUsbAccess() {
    m_astrDeviceTexts.clear();
    m_module.Unload();
}

void CUsbAccess::Refresh() {
    auto* getDeviceList = reinterpret_cast<GetDeviceListFunction>(m_apEntryPoints[0]);
    auto* getDeviceInfo = reinterpret_cast<GetDeviceInfoFunction>(m_apEntryPoints[1]);
    if (getDeviceList == nullptr || getDeviceInfo == nullptr)
        return;
    m_astrDeviceTexts.clear();
    m_nDeviceCount = std::min(getDeviceList(), kMaxUsbDevices);
    if (m_nDeviceCount == 0)
        return;
    std::vector<unsigned char> records(size_t{m_nDeviceCount} * kUsbDeviceRecordSize, 0);
    m_astrDeviceTexts.assign(m_nDeviceCount, std::string());
    for (uint32_t i = 0; i < m_nDeviceCount; ++i) {
        unsigned char* record = records.data() + size_t{i} * kUsbDeviceRecordSize;
        if (getDeviceInfo(i, record) != 0)
            m_astrDeviceTexts[i] = UsbDeviceEntryText(record);
    }
}

} // namespace kelvane
