// SPDX-License-Identifier: MIT
#include "dialogs/usb_device_list_dlg.h"

#include "res/dialog_ids.h"

#include <algorithm>

namespace kelvane {

CUsbDeviceListDlg::CUsbDeviceListDlg(UsbDeviceTable& table, DialogRunner& runner, HelpEntry help)
    : CDialog(IDD_USB_DEVICE_LIST, runner), m_table(table), m_help(std::move(help)) {}

bool CUsbDeviceListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The list is not sorted, so a list index is an index into the table.
    const int count = std::clamp(m_table.m_nUsbDeviceCount, 0, int{kMaxUsbDevices});
    for (int i = 0; i < count; ++i)
        Controls().AddString(IDC_USB_DEVICE_LIST, m_table.m_astrUsbDevices[size_t(i)]);
    Controls().SetCurSel(IDC_USB_DEVICE_LIST, 0);
    return true;
}

void CUsbDeviceListDlg::OnOK() {
    m_table.m_nUsbDeviceSel = Controls().GetCurSel(IDC_USB_DEVICE_LIST);
    EndDialog(IDOK);
}

bool CUsbDeviceListDlg::OnHelpInfo(int controlId) {
    return m_help ? m_help(controlId) : CDialog::OnHelpInfo(controlId);
}

} // namespace kelvane
