// SPDX-License-Identifier: MIT
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"

namespace kelvane {
namespace {

constexpr unsigned kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr unsigned kButton = WS_TABSTOP;

// The Japanese about box is narrower; its button moves in with the edge.
const DialogControl kAboutBox[] = {
    {IDC_STATIC, ControlKind::Icon, 0, "128", 11, 17, 20, 20},
    {IDC_VERSION, ControlKind::Static, 0, "Kelvane Version ", 40, 10, 151, 8},
    {IDC_STATIC, ControlKind::Static, 0, "Copyright (C) 2026 The Kelvane developers", 40, 25, 182,
     8},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | WS_GROUP | kButton, "OK", 203, 7, 19, 14},
};

const DialogControl kCommSetting[] = {
    {IDC_STATIC, ControlKind::GroupBox, 0, "ICE 接続", 7, 7, 161, 118},
    {IDC_STATIC, ControlKind::Static, 0, "通信デバイス", 15, 20, 47, 8},
    {IDC_ETHER, ControlKind::RadioButton, WS_GROUP | kButton, "ETHER", 66, 20, 37, 10},
    {IDC_USB, ControlKind::RadioButton, 0, "USB", 117, 20, 29, 10},
    {IDC_STATIC, ControlKind::Static, WS_GROUP, "IP アドレス", 15, 40, 60, 8},
    {IDC_IP_ADDRESS, ControlKind::Edit, kEdit, "", 15, 50, 90, 14},
    {IDC_STATIC, ControlKind::Static, 0, "COM ポート", 120, 40, 40, 8},
    {IDC_PORT, ControlKind::Edit, kEdit | ES_HEXDIGITS, "", 115, 50, 25, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(16進)", 142, 53, 24, 8},
    {IDC_STATIC, ControlKind::Static, 0, "USB デバイス", 15, 70, 60, 8},
    {IDC_USB_DEVICE, ControlKind::Edit, kEdit, "", 15, 80, 90, 14},
    {IDC_DETECT, ControlKind::PushButton, kButton, "検出", 115, 80, 40, 14},
    {IDC_STATIC, ControlKind::Static, 0, "タイムアウト", 15, 105, 55, 8},
    {IDC_TIMEOUT, ControlKind::Edit, kEdit | ES_NUMBER, "", 75, 102, 30, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(秒:10～65535)", 110, 105, 55, 8},
    {IDC_STATIC, ControlKind::GroupBox, 0, "マルチコアサーバ接続", 7, 127, 161, 63},
    {IDC_MCS_ENABLE, ControlKind::CheckBox, kButton, "マルチコアサーバを使う", 15, 140, 94, 10},
    {IDC_STATIC, ControlKind::Static, 0, "IP アドレス", 15, 160, 60, 8},
    {IDC_MCS_IP_ADDRESS, ControlKind::Edit, kEdit, "", 15, 170, 90, 14},
    {IDC_STATIC, ControlKind::Static, 0, "COM ポート", 120, 160, 40, 8},
    {IDC_MCS_PORT, ControlKind::Edit, kEdit | ES_HEXDIGITS, "", 115, 170, 25, 14},
    {IDC_STATIC, ControlKind::Static, 0, "(16進)", 142, 173, 24, 8},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 20, 195, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "キャンセル", 100, 195, 50, 15},
};

const DialogControl kUsbDeviceList[] = {
    {IDC_STATIC, ControlKind::Static, 0, "選択できるデバイス", 15, 10, 80, 10},
    {IDC_USB_DEVICE_LIST, ControlKind::ListBox,
     LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, "", 15, 20, 190, 50},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 50, 80, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "キャンセル", 120, 80, 50, 15},
};

const DialogControl kFileModelSetting[] = {
    {IDC_STATIC, ControlKind::GroupBox, 0, "MPV (MPU 依存情報) ファイル", 7, 7, 202, 38},
    {IDC_MPV_FILE, ControlKind::Edit, kEdit, "", 15, 20, 160, 14},
    {IDC_BROWSE_MPV, ControlKind::PushButton, kButton, "...", 180, 20, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "MCI (デバイス構成定義) ファイル", 7, 54, 202, 38},
    {IDC_MCI_FILE, ControlKind::Edit, kEdit, "", 15, 66, 160, 14},
    {IDC_BROWSE_MCI, ControlKind::PushButton, kButton, "...", 180, 66, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "FRD (フラッシュメモリ定義) ファイルの一括変換", 7, 99,
     203, 91},
    {IDC_CONVERT_TO_MPV_DIR, ControlKind::PushButton, kButton, "MPV ファイルのフォルダへ変換", 15,
     111, 185, 15},
    {IDC_STATIC, ControlKind::Static, 0, "対象", 15, 143, 35, 10},
    {IDC_FRD_TARGET, ControlKind::ComboBox, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | kButton, "",
     55, 141, 120, 114},
    {IDC_FRD_FILE, ControlKind::Edit, kEdit, "", 15, 164, 160, 14},
    {IDC_BROWSE_FRD, ControlKind::PushButton, kButton, "...", 180, 164, 20, 14},
    {IDC_STATIC, ControlKind::GroupBox, 0, "ICE モデルの設定", 7, 200, 203, 55},
    {IDC_STATIC, ControlKind::Static, 0, "現在の ICE モデル", 15, 214, 65, 13},
    {IDC_CURRENT_MODEL, ControlKind::Static, 0, "before model", 90, 214, 54, 15},
    {IDC_STATIC, ControlKind::Static, 0, "変換後の ICE モデル", 15, 234, 65, 13},
    {IDC_MODEL, ControlKind::ComboBox, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | kButton, "", 90, 233,
     48, 152},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 50, 265, 50, 15},
    {IDCANCEL, ControlKind::PushButton, kButton, "キャンセル", 120, 265, 50, 15},
};

const DialogControl kModelSelect[] = {
    {IDC_STATIC, ControlKind::Static, 0, "現在のモデル", 17, 8, 58, 10},
    {IDC_CURRENT_MODEL, ControlKind::Static, 0, "before model", 73, 8, 63, 14},
    {IDC_STATIC, ControlKind::Static, 0, "変換後のモデル", 17, 28, 60, 10},
    {IDC_MODEL, ControlKind::ComboBox, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | kButton, "", 73, 27,
     48, 152},
    {IDOK, ControlKind::PushButton, BS_DEFPUSHBUTTON | kButton, "OK", 16, 46, 50, 14},
    {IDCANCEL, ControlKind::PushButton, kButton, "キャンセル", 75, 46, 50, 14},
};

const DialogTemplate kTemplates[] = {
    {IDD_ABOUTBOX, "バージョン情報", 229, 56, "MS UI Gothic", 9, false, kAboutBox},
    {IDD_COMM_SETTING, "通信設定", 174, 216, "MS UI Gothic", 9, true, kCommSetting},
    {IDD_USB_DEVICE_LIST, "検出された USB デバイス", 220, 100, "MS UI Gothic", 9, true,
     kUsbDeviceList},
    {IDD_FILE_MODEL_SETTING, "ファイルと ICE モデルの設定", 219, 290, "MS UI Gothic", 9, false,
     kFileModelSetting},
    {IDD_MODEL_SELECT, "モデルの選択", 143, 67, "MS UI Gothic", 9, false, kModelSelect},
};

} // namespace

std::span<const DialogTemplate> JapaneseDialogTemplates() {
    return kTemplates;
}

} // namespace kelvane
