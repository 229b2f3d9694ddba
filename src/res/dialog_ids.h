#pragma once

namespace kelvane {

// Dialog templates.
enum DialogId : unsigned {
    IDD_ABOUTBOX = 101,
    IDD_COMM_SETTING = 130,
    IDD_USB_DEVICE_LIST = 131,
    IDD_FILE_MODEL_SETTING = 132,
    IDD_MODEL_SELECT = 133,
};

// Controls of the dialogs. OK and Cancel are 1 and 2 (IDOK, IDCANCEL).
enum ControlId : int {
    IDC_ETHER = 1000,
    IDC_USB = 1001,
    IDC_IP_ADDRESS = 1002,
    IDC_PORT = 1003,
    IDC_USB_DEVICE = 1004,
    IDC_MCS_ENABLE = 1005,
    IDC_MCS_IP_ADDRESS = 1006,
    IDC_MCS_PORT = 1007,
    IDC_USB_DEVICE_LIST = 1008,
    IDC_DETECT = 1009,
    IDC_TIMEOUT = 1013,
    IDC_VERSION = 1014,
};

} // namespace kelvane
