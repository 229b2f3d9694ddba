// SPDX-License-Identifier: MIT
#include "dialogs/comm_setting_dlg.h"

#include "dialogs/usb_device_list_dlg.h"
#include "res/dialog_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/validate_settings.h"

#include <algorithm>

namespace kelvane {

CCommSettingDlg::CCommSettingDlg(CommSettingContext context, DialogRunner& runner)
    : CDialog(IDD_COMM_SETTING, runner), m_context(std::move(context)) {}

void CCommSettingDlg::DoDataExchange(CDataExchange& exchange) {
    DDX_Radio(exchange, IDC_ETHER, m_nCommDevice);
    DDX_Text(exchange, IDC_IP_ADDRESS, m_strIpAddress);
    DDX_Text(exchange, IDC_PORT, m_strPort);
    DDX_Text(exchange, IDC_USB_DEVICE, m_strUsbDevice);
    DDX_Text(exchange, IDC_TIMEOUT, m_strTimeout);
    DDX_Check(exchange, IDC_MCS_ENABLE, m_bUseMcs);
    DDX_Text(exchange, IDC_MCS_IP_ADDRESS, m_strIpAddressMcs);
    DDX_Text(exchange, IDC_MCS_PORT, m_strPortMcs);
}

bool CCommSettingDlg::OnInitDialog() {
    m_strShownPort = m_strPort;
    m_strShownPortMcs = m_strPortMcs;
    m_strShownTimeout = m_strTimeout;
    CDialog::OnInitDialog();
    // talvexBANTAM connects by USB only; a model the program does not know
    // offers neither Ethernet nor the server.
    const uint32_t model = m_context.m_nIceModel;
    Controls().EnableWindow(IDC_ETHER, model >= 1 && model <= 4);
    Controls().EnableWindow(IDC_MCS_ENABLE, model <= 4);
    OnCommDevice();
    OnMcsEnable();
    return true;
}

void CCommSettingDlg::OnCommand(int controlId, ControlEvent event) {
    if (event == ControlEvent::Clicked) {
        switch (controlId) {
        case IDC_ETHER:
        case IDC_USB:
            OnCommDevice();
            return;
        case IDC_MCS_ENABLE:
            OnMcsEnable();
            return;
        case IDC_DETECT:
            OnDetect();
            return;
        default:
            break;
        }
    }
    CDialog::OnCommand(controlId, event);
}

bool CCommSettingDlg::OnHelpInfo(int controlId) {
    if (controlId <= 0 || !m_context.help)
        return CDialog::OnHelpInfo(controlId);
    return m_context.help(controlId);
}

void CCommSettingDlg::OnOK() {
    if (!UpdateData(true))
        return;
    if (TakesText(IDC_PORT, m_strPort, m_strShownPort, IsPortText, IDS_FIELD_ICE_PORT) &&
        TakesText(IDC_TIMEOUT, m_strTimeout, m_strShownTimeout, IsTimeoutText, IDS_FIELD_TIMEOUT) &&
        TakesText(IDC_MCS_PORT, m_strPortMcs, m_strShownPortMcs, IsPortText, IDS_FIELD_MCS_PORT))
        EndDialog(IDOK);
}

bool CCommSettingDlg::TakesText(int controlId, const std::string& typed, const std::string& shown,
                                bool (*converts)(std::string_view), unsigned fieldNameId) {
    // An empty field is left to the save's own check.
    if (!Controls().IsWindowEnabled(controlId) || typed == shown || typed.empty() ||
        converts(typed))
        return true;
    const unsigned messageId =
        controlId == IDC_TIMEOUT ? IDS_TIMEOUT_NOT_DECIMAL : IDS_PORT_NOT_HEX;
    m_context.messageBoxes.MessageBox(
        FormatResourceString(messageId, {LoadResourceString(fieldNameId), typed}),
        LoadResourceString(IDS_APPLICATION_NAME), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CCommSettingDlg::OnCommDevice() {
    const bool ether = Controls().IsDlgButtonChecked(IDC_ETHER) != 0;
    Controls().EnableWindow(IDC_IP_ADDRESS, ether);
    Controls().EnableWindow(IDC_PORT, ether);
    Controls().EnableWindow(IDC_USB_DEVICE, !ether);
    Controls().EnableWindow(IDC_DETECT, !ether);
}

void CCommSettingDlg::OnMcsEnable() {
    const bool server = Controls().IsDlgButtonChecked(IDC_MCS_ENABLE) != 0;
    Controls().EnableWindow(IDC_MCS_IP_ADDRESS, server);
    Controls().EnableWindow(IDC_MCS_PORT, server);
}

void CCommSettingDlg::OnDetect() {
    UsbDeviceTable& table = m_context.usbDevices;
    CUsbDeviceListDlg list(table, Runner(), m_context.help);
    CUsbAccess usb(m_context.usbLibrary);
    usb.Refresh();
    // A detection that finds nothing keeps the texts of the last one.
    table.m_nUsbDeviceCount = static_cast<int32_t>(usb.Count());
    if (table.m_nUsbDeviceCount == 0)
        return;
    for (uint32_t i = 0; i < usb.Count(); ++i)
        table.m_astrUsbDevices[i] = usb.Text(i);
    if (list.DoModal() != IDOK)
        return;
    // No selection (a list emptied from outside) leaves the field as it is.
    const int32_t chosen = table.m_nUsbDeviceSel;
    if (chosen < 0 || chosen >= table.m_nUsbDeviceCount)
        return;
    const std::string& entry = table.m_astrUsbDevices[size_t(chosen)];
    Controls().ReplaceEditText(IDC_USB_DEVICE, entry.substr(0, entry.find(' ')));
}

} // namespace kelvane
