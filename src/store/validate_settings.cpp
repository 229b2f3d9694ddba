// SPDX-License-Identifier: MIT
#include "store/validate_settings.h"

#include "res/string_ids.h"
#include "res/string_table.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr size_t kUsbDeviceNameLength = 10;

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool Refuse(ProjectSettings& settings, unsigned messageId) {
    settings.m_strLastError = LoadResourceString(messageId);
    return false;
}

} // namespace

bool IsValidUsbDeviceName(std::string_view name) {
    if (name.size() != kUsbDeviceNameLength)
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool digitPosition = i >= 3 && i <= 7;
        if (digitPosition ? !IsDigit(name[i]) : !IsUpper(name[i]))
            return false;
    }
    return true;
}

bool IsPortText(std::string_view text) {
    return !text.empty() && text.size() <= 4 && std::all_of(text.begin(), text.end(), IsHexDigit);
}

bool IsTimeoutText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool ValidateSettings(ProjectSettings& settings) {
    settings.m_strLastError.clear();
    // Every device other than Ethernet is checked as USB.
    if (settings.m_nCommDevice != COMM_ETHERNET) {
        if (settings.m_strUsbDevice.empty())
            return Refuse(settings, IDS_ICE_USB_UNDEFINED);
        if (!IsValidUsbDeviceName(settings.m_strUsbDevice))
            return Refuse(settings, IDS_ICE_USB_INVALID);
    } else {
        if (settings.m_strIpAddress.empty())
            return Refuse(settings, IDS_ICE_IP_UNDEFINED);
        if (settings.m_strPort.empty())
            return Refuse(settings, IDS_ICE_PORT_UNDEFINED);
    }
    if (settings.m_bUseMcs) {
        if (settings.m_strIpAddressMcs.empty())
            return Refuse(settings, IDS_MCS_IP_UNDEFINED);
        if (settings.m_strPortMcs.empty())
            return Refuse(settings, IDS_MCS_PORT_UNDEFINED);
    }
    if (settings.m_szMpdFile[0] == '\0')
        return Refuse(settings, IDS_MPV_UNDEFINED);
    return true;
}

} // namespace kelvane
