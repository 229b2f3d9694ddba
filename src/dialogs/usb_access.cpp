// SPDX-License-Identifier: MIT
#include "dialogs/usb_access.h"

#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"

#include <algorithm>

namespace kelvane {
namespace {

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
    const UsbLibraryPlace place = LocateUsbLibrary(libraryName, ExecutableFolder());
    if (place.host) {
        m_host = place.host;
        return;
    }
    if (!m_module.Load(place.library)) {
        m_strUnusable = libraryName + ": " + m_module.Error();
        return;
    }
    m_apEntryPoints = LookUpUsbEntryPoints(m_module);
    if (const char* missing = MissingUsbListingCall(m_apEntryPoints))
        m_strUnusable = libraryName + " has no " + missing;
}

CUsbAccess::~CUsbAccess() {
    m_astrDeviceTexts.clear();
    m_module.Unload();
}

void CUsbAccess::Refresh() {
    if (m_host) {
        const UsbHostOutcome outcome = ListUsbDevicesInHost(*m_host, SilentWaitIndicator());
        m_strUnusable = UsbHostProblem(outcome, *m_host);
        // A library that could not list leaves nothing of an earlier refresh.
        TakeDevices(m_strUnusable.empty() ? outcome.answer : UsbHostAnswer());
        return;
    }
    if (MissingUsbListingCall(m_apEntryPoints) != nullptr)
        return;
    TakeDevices(ListUsbDevices(m_apEntryPoints));
}

void CUsbAccess::TakeDevices(const UsbHostAnswer& answer) {
    m_astrDeviceTexts.clear();
    m_nDeviceCount = static_cast<uint32_t>(std::min(answer.devices.size(), size_t{kMaxUsbDevices}));
    m_astrDeviceTexts.assign(m_nDeviceCount, std::string());
    for (uint32_t i = 0; i < m_nDeviceCount; ++i)
        if (answer.devices[i].filled)
            m_astrDeviceTexts[i] = UsbDeviceEntryText(answer.devices[i].record.data());
}

} // namespace kelvane
