// SPDX-License-Identifier: MIT
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"

namespace kelvane {
namespace {

constexpr unsigned kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr unsigned kButton = WS_TABSTOP;

const DialogControl kAboutBox[] = {
    {IDC_STATIC, ControlKind::Icon, 0, "128", 11, 17, 20, 20},
    {IDC_VERSION, ControlKind::Static, 0, "Kelvane Version ", 40, 10, 171, 8},
    {IDC_STATIC, ControlKind::Static, 0, "Copyright (C) 2026 The Kelvane developers", 40, 25, 202,
     8},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | WS_GROUP | kButton, "OK", 223, 7, 19, 14},
};

const DialogControl kCommSetting[] = {
    {IDC_STATIC, ControlKind::GroupBox, 0, "ICE connection", 7, 7, 161, 118},
    {IDC_STATIC, ControlKind::Static, 0, "Comm device", 15, 20, 47, 8},
    {IDC_ETHER, ControlKind::RadioButton, WS_GROUP | kButton, "ETHER", 66, 20, 37, 10},
    {IDC_USB, ControlKind::RadioButton, 0, "USB", 117, 20, 29, 10},
    {IDC_STATIC, ControlKind::Static, WS_GROUP, "IP address", 15, 40, 60, 8},
    {IDC_IP_ADDRESS, ControlKind::Edit, kEdit, "", 15, 50, 90, 14},
    {IDC_STATIC, ControlKind::Static, 0, "COM port", 120, 40, 40, 8},
    {IDC_PORT, ControlKind::Edit, kEdit | ES_HEXDIGITS, "", 115, 50, 25, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(hex)", 142, 53, 24, 8},
    {IDC_STATIC, ControlKind::Static, 0, "USB device", 15, 70, 60, 8},
    {IDC_USB_DEVICE, ControlKind::Edit, kEdit, "", 15, 80, 90, 14},
    {IDC_DETECT, ControlKind::PushButton, kButton, "Detect", 115, 80, 40, 14},
    {IDC_STATIC, ControlKind::Static, 0, "Comm Timeout", 15, 105, 55, 8},
    {IDC_TIMEOUT, ControlKind::Edit, kEdit | ES_NUMBER, "", 75, 102, 30, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(Sec:10～65535)", 110, 105, 55, 8},
    {IDC_STATIC, ControlKind::GroupBox, 0, "Multi-Core Server connection", 7, 127, 161, 63},
    {IDC_MCS_ENABLE, ControlKind::CheckBox, kButton, "Multi-Core Server enable", 15, 140, 94, 10},
    {IDC_STATIC, ControlKind::Static, 0, "IP address", 15, 160, 60, 8},
    {IDC_MCS_IP_ADDRESS, ControlKind::Edit, kEdit, "", 15, 170, 90, 14},
    {IDC_STATIC, ControlKind::Static, 0, "COM port", 120, 160, 40, 8},
    {IDC_MCS_PORT, ControlKind::Edit, kEdit | ES_HEXDIGITS, "", 115, 170, 25, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(hex)", 142, 173, 24, 8},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 20, 195, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "Cancel", 100, 195, 50, 15},
};

const DialogControl kUsbDeviceList[] = {
    {IDC_STATIC, ControlKind::Static, 0, "Selectable devices", 15, 10, 80, 10},
    {IDC_USB_DEVICE_LIST, ControlKind::ListBox,
     LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, "", 15, 20, 190, 50},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 50, 80, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "Cancel", 120, 80, 50, 15},
};

const DialogControl kFileModelSetting[] = {
    {IDC_STATIC, ControlKind::GroupBox, 0, "MPV(Information depend on MPU) file", 7, 7, 202, 38},
    {IDC_MPV_FILE, ControlKind::Edit, kEdit, "", 15, 20, 160, 14},
    {IDC_BROWSE_MPV, ControlKind::PushButton, kButton, "...", 180, 20, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "MCI(Device configuration definition)file", 7, 54, 202,
     38},
    {IDC_MCI_FILE, ControlKind::Edit, kEdit, "", 15, 66, 160, 14},
    {IDC_BROWSE_MCI, ControlKind::PushButton, kButton, "...", 180, 66, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "FRD(Flash memory definition) file batch conversion", 7,
     99, 203, 91},
    {IDC_CONVERT_TO_MPV_DIR, ControlKind::PushButton, kButton,
     "Convert to MPV(Information depend on MPU) file directory", 15, 111, 185, 15},
    {IDC_STATIC, ControlKind::Static, 0, "Target", 15, 143, 35, 10},
    {IDC_FRD_TARGET, ControlKind::ComboBox, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | kButton, "",
     55, 141, 120, 114},
    {IDC_FRD_FILE, ControlKind::Edit, kEdit, "", 15, 164, 160, 14},
    {IDC_BROWSE_FRD, ControlKind::PushButton, kButton, "...", 180, 164, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "ICE model setting", 7, 200, 203, 55},
    {IDC_STATIC, ControlKind::Static, 0, "Current ICE model", 15, 214, 65, 13},
    {IDC_CURRENT_MODEL, ControlKind::Static, 0, "before model", 90, 214, 54, 15},
    {IDC_STATIC, ControlKind::Static, 0, "Convert ICE model", 15, 234, 65, 13},
    {IDC_MODEL, ControlKind::ComboBox, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | kButton, "", 90, 233,
     48, 152},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 50, 265, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "Cancel", 120, 265, 50, 15},
};

const DialogControl kModelSelect[] = {
    {IDC_STATIC, ControlKind::Static, 0, "Current model", 17, 8, 58, 10},
    {IDC_CURRENT_MODEL, ControlKind::Static, 0, "before model", 73, 8, 63, 14},
    {IDC_STATIC, ControlKind::Static, 0, "Convert model", 17, 28, 60, 10},
    {IDC_MODEL, ControlKind::ComboBox, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | kButton, "", 73, 27,
     48, 152},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 16, 46, 50, 14},
    {IDCANCEL, ControlKind::PushButton, kButton, "Cancel", 75, 46, 50, 14},
};

const DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "Version Information", 249, 56, "MS Sans Serif", 9, false, kAboutBox},
    {IDD_COMM_SETTING, "Comm setting", 174, 216, "MS Sans Serif", 9, true, kCommSetting},
    {IDD_USB_DEVICE_LIST, "Detected USB devices", 220, 100, "MS Sans Serif", 9, true,
     kUsbDeviceList},
    {IDD_FILE_MODEL_SETTING, "Files & ICE model setting", 219, 290, "MS Sans Serif", 9, false,
     kFileModelSetting},
    {IDD_MODEL_SELECT, "Select model", 143, 67, "Microsoft Sans Serif", 9, false, kModelSelect},
};

} // namespace

std::span<const DialogTemplate> EnglishDialogTemplates() {
    return kTemplates;
}

const DialogTemplate* FindDialogTemplate(unsigned templateId, ResourceLanguage language) {
    for (const DialogTemplate& dialog : language == ResourceLanguage::Japanese
                                            ? JapaneseDialogTemplates()
                                            : EnglishDialogTemplates())
        if (dialog.id == templateId)
            return &dialog;
    return nullptr;
}

} // namespace kelvane
