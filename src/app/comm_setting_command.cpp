// SPDX-License-Identifier: MIT
// Edit > Comm setting, and the help entry the dialogs share.
#include "app/klvn_main_app.h"

#include "dialogs/comm_setting_dlg.h"
#include "ui/context_help.h"

namespace kelvane {
namespace {

// The part of the record the dialog edits.
struct CommValues {
    uint32_t device, useMcs;
    std::string ipAddress, usbDevice, port, timeout, ipAddressMcs, portMcs;
    bool operator==(const CommValues&) const = default;
};

CommValues CommValuesOf(const ProjectSettings& s) {
    return {s.m_nCommDevice, s.m_bUseMcs,    s.m_strIpAddress,    s.m_strUsbDevice,
            s.m_strPort,     s.m_strTimeout, s.m_strIpAddressMcs, s.m_strPortMcs};
}

} // namespace

void CKLVN_MAINApp::WinHelp(uint32_t data, uint32_t command) {
    if (m_help)
        m_help(data, command);
}

bool CKLVN_MAINApp::ShowControlHelp(int controlId) {
    if (controlId <= 0)
        return false;
    WinHelp(static_cast<uint32_t>(controlId), HELP_POPUP);
    return true;
}

void CKLVN_MAINApp::OnCommSetting() {
    CCommSettingDlg dialog({m_settings.m_nIceModel, m_usbDevices, m_strUsbLibrary,
                            [this](int controlId) { return ShowControlHelp(controlId); },
                            m_services.messageBoxes},
                           m_services.dialogs);
    // Ethernet is index 0; GP-IB, RS232C and anything unknown show as USB.
    dialog.m_nCommDevice = m_settings.m_nCommDevice == COMM_ETHERNET ? 0 : 1;
    dialog.m_strIpAddress = m_settings.m_strIpAddress;
    dialog.m_strUsbDevice = m_settings.m_strUsbDevice;
    dialog.m_strPort = m_settings.m_strPort;
    dialog.m_strTimeout = m_settings.m_strTimeout;
    dialog.m_strIpAddressMcs = m_settings.m_strIpAddressMcs;
    dialog.m_strPortMcs = m_settings.m_strPortMcs;
    dialog.m_bUseMcs = m_settings.m_bUseMcs;
    if (dialog.DoModal() != IDOK)
        return;
    const CommValues before = CommValuesOf(m_settings);
    m_settings.m_nCommDevice = dialog.m_nCommDevice == 0 ? COMM_ETHERNET : COMM_USB;
    m_settings.m_strIpAddress = dialog.m_strIpAddress;
    m_settings.m_strUsbDevice = dialog.m_strUsbDevice;
    m_settings.m_strPort = dialog.m_strPort;
    m_settings.m_strTimeout = dialog.m_strTimeout;
    m_settings.m_strIpAddressMcs = dialog.m_strIpAddressMcs;
    m_settings.m_strPortMcs = dialog.m_strPortMcs;
    m_settings.m_bUseMcs = dialog.m_bUseMcs;
    // OK on the values as shown is no change (a GP-IB project taken as USB is).
    if (CommValuesOf(m_settings) != before)
        m_bModified = true;
    m_services.repaint.Repaint();
}

} // namespace kelvane
