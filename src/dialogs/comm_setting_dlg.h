// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/usb_device_table.h"
#include "platform/desktop/message_box.h"
#include "platform/dialog/dialog.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelvane {

// What the communication dialog needs of the application beyond its values.
struct CommSettingContext {
    uint32_t m_nIceModel = 0; // decides whether ETHER and the server can be chosen
    UsbDeviceTable& usbDevices;
    std::string usbLibrary;                  // the USB access library Detect loads
    std::function<bool(int controlId)> help; // a control's popup
    MessageBoxService& messageBoxes;         // why OK is refused
};

// "Comm setting": the connection, the time-out and the Multi-Core Server.
// It works on its own copies; the caller takes them back on OK.
class CCommSettingDlg : public CDialog {
public:
    CCommSettingDlg(CommSettingContext context, DialogRunner& runner);

    bool OnInitDialog() override;
    void OnCommand(int controlId, ControlEvent event) override;
    bool OnHelpInfo(int controlId) override;
    // Refuses a port or time-out the user typed that would not convert: the
    // save would otherwise store 0 for it, or clamp it to 10, without a word.
    void OnOK() override;

    // Device enable rule: the ETHER fields or the USB ones.
    void OnCommDevice();
    // The server's fields follow the check box.
    void OnMcsEnable();
    // Lists the USB devices found and puts the chosen one's name in the field.
    void OnDetect();

    int m_nCommDevice = 0; // radio index: 0 ETHER, 1 USB
    std::string m_strIpAddress;
    std::string m_strPort;
    std::string m_strUsbDevice;
    std::string m_strTimeout;
    uint32_t m_bUseMcs = 0;
    std::string m_strIpAddressMcs;
    std::string m_strPortMcs;

protected:
    void DoDataExchange(CDataExchange& exchange) override;

private:
    // Whether `typed` in an enabled control may be taken: what was shown at
    // the start is carried as it was, even when it would not convert.
    bool TakesText(int controlId, const std::string& typed, const std::string& shown,
                   bool (*converts)(std::string_view), unsigned fieldNameId);

    CommSettingContext m_context;
    // The values as the dialog opened with them.
    std::string m_strShownPort, m_strShownPortMcs, m_strShownTimeout;
};

} // namespace kelvane
