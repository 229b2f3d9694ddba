// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/usb_device_table.h"
#include "platform/dialog/dialog.h"

#include <functional>

namespace kelvane {

// "Detected USB devices": the entries of the table, one chosen on OK.
class CUsbDeviceListDlg : public CDialog {
public:
    using HelpEntry = std::function<bool(int controlId)>;

    CUsbDeviceListDlg(UsbDeviceTable& table, DialogRunner& runner, HelpEntry help = {});

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnHelpInfo(int controlId) override;

private:
    UsbDeviceTable& m_table;
    HelpEntry m_help;
};

} // namespace kelvane
