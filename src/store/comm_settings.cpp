// SPDX-License-Identifier: MIT
// The communication key group of the project file.
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/definition_file.h"
#include "store/number_text.h"

#include <algorithm>

namespace kelvane {

bool DefinitionFile::ReadCommSettings() {
    std::string value;
    if (!GetValue(value, "TARGET_NAME"))
        return false;
    uint32_t model = kIceModelCount;
    for (uint32_t candidate = ICE_TALVEX_BANTAM; candidate <= ICE_TALVEX_VEGA; ++candidate)
        if (value == IceModelName(candidate)) {
            model = candidate;
            break;
        }
    if (model == kIceModelCount) {
        // Say which name, rather than leave a reason from an earlier step.
        m_settings.m_strLastError = FormatResourceString(IDS_UNKNOWN_TARGET_NAME, {value});
        return false;
    }
    // The fifth model is stored as the fourth's name with an "H2" model name.
    if (model == ICE_TALVEX_VEGA && m_settings.m_strModelName.starts_with("H2"))
        model = ICE_TALVEX_VEGA_II;
    m_settings.m_nIceModel = model;

    if (!GetValue(value, "DEVICE"))
        return false;
    uint32_t device = COMM_ETHERNET;
    while (device < COMM_UNRECOGNISED && value != CommDeviceName(device))
        ++device;
    m_settings.m_nCommDevice = device;

    if (!GetValue(value, "PORT"))
        return false;
    if (m_settings.m_nCommDevice == COMM_USB) {
        m_settings.m_strUsbDevice = value;
        m_settings.m_strPort = "2000";
    } else {
        m_settings.m_strPort = PrintHex(DecimalRead(value));
        m_settings.m_strUsbDevice.clear();
    }

    if (!GetValue(value, "IP_ADDRESS"))
        return false;
    m_settings.m_strIpAddress = value;

    if (!GetValue(value, "TIMEOUT"))
        return false;
    m_settings.m_strTimeout = value;

    if (!GetValue(value, "USE_MCS"))
        return false;
    m_settings.m_bUseMcs = value == "FALSE" ? 0 : 1;

    if (!GetValue(value, "PORT_MCS"))
        return false;
    m_settings.m_strPortMcs = PrintHex(DecimalRead(value));

    if (!GetValue(value, "IP_ADDRESS_MCS"))
        return false;
    m_settings.m_strIpAddressMcs = value;
    return true;
}

bool DefinitionFile::WriteCommSettings() {
    // Both VEGA models are stored under the same target name.
    const uint32_t model = m_settings.m_nIceModel;
    if (model >= kIceModelCount)
        return false;
    const char* targetName = IceModelName(model == ICE_TALVEX_VEGA_II ? ICE_TALVEX_VEGA : model);
    if (!SetValue(targetName, "TARGET_NAME"))
        return false;

    const char* deviceName = CommDeviceName(m_settings.m_nCommDevice);
    if (deviceName == nullptr || !SetValue(deviceName, "DEVICE"))
        return false;

    const bool usb = m_settings.m_nCommDevice == COMM_USB;
    if (!SetValue(usb ? std::string_view() : m_settings.m_strIpAddress, "IP_ADDRESS"))
        return false;

    const std::string port =
        usb ? m_settings.m_strUsbDevice
            : PrintSigned(static_cast<int32_t>(HexadecimalRead(m_settings.m_strPort)));
    if (!SetValue(port, "PORT"))
        return false;

    const uint32_t timeout = std::clamp<uint32_t>(DecimalRead(m_settings.m_strTimeout), 10, 65535);
    m_settings.m_strTimeout = PrintSigned(static_cast<int32_t>(timeout));
    if (!SetValue(m_settings.m_strTimeout, "TIMEOUT"))
        return false;

    if (!SetValue(m_settings.m_bUseMcs ? "TRUE" : "FALSE", "USE_MCS"))
        return false;
    if (!SetValue(m_settings.m_strIpAddressMcs, "IP_ADDRESS_MCS"))
        return false;
    return SetValue(PrintSigned(static_cast<int32_t>(HexadecimalRead(m_settings.m_strPortMcs))),
                    "PORT_MCS");
}

} // namespace kelvane
