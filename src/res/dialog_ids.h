// SPDX-License-Identifier: MIT
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
    IDC_MPV_FILE = 1010,
    IDC_BROWSE_MPV = 1011,
    IDC_TIMEOUT = 1013,
    IDC_VERSION = 1014,
    IDC_MODEL = 1016,
    IDC_CURRENT_MODEL = 1017,
    IDC_MCI_FILE = 1018,
    IDC_BROWSE_MCI = 1019,
    IDC_FRD_FILE = 1020,
    IDC_BROWSE_FRD = 1021,
    IDC_FRD_TARGET = 1022,
    IDC_CONVERT_TO_MPV_DIR = 1023,
};

} // namespace kelvane
