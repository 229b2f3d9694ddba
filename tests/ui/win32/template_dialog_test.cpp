// SPDX-License-Identifier: MIT
// The Win32 dialog host in this process, on the real controls the dialog
// manager builds from the templates. Each dialog does its checks while it
// initialises and ends there, so nothing waits for a user.
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "scoped_environment.h"
#include "ui/win32/template_dialog.h"
#include "ui/win32/win32_dialog_runner.h"

#include "ui/win32/windows_api.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kelvane::test {
namespace {

// A dialog that runs `check` on its controls when it opens, then ends.
class CheckingDialog : public CDialog {
public:
    CheckingDialog(unsigned templateId, DialogRunner& runner,
                   std::function<void(DialogControls&, HWND)> check)
        : CDialog(templateId, runner), m_check(std::move(check)) {}

    bool OnInitDialog() override {
        auto& host = dynamic_cast<TemplateDialog&>(Controls());
        m_check(host, host.Window());
        EndDialog(IDOK);
        return true;
    }
    void OnCommand(int controlId, ControlEvent event) override {
        events.emplace_back(controlId, event);
    }

    std::vector<std::pair<int, ControlEvent>> events;

private:
    std::function<void(DialogControls&, HWND)> m_check;
};

TEST(Win32TemplateDialog, GivesBackTheDialogsOwnBytesAndTheEntriesBytes) {
    // 0x81 alone is half a CP932 character: shown as '?', it must still
    // come back as it was set.
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    Win32DialogRunner runner;
    CheckingDialog dialog(IDD_FILE_MODEL_SETTING, runner, [](DialogControls& controls, HWND) {
        controls.SetWindowText(IDC_MPV_FILE, "a\x81.mpv");
        EXPECT_EQ(controls.GetWindowText(IDC_MPV_FILE), "a\x81.mpv");
        controls.ReplaceEditText(IDC_MCI_FILE, "\x81x.mci");
        EXPECT_EQ(controls.GetWindowText(IDC_MCI_FILE), "\x81x.mci");

        // Entries keep their order and their bytes, whatever the sorted style.
        EXPECT_EQ(controls.AddString(IDC_MODEL, "ZZ\x81"), 0);
        EXPECT_EQ(controls.AddString(IDC_MODEL, "AA\x81"), 1);
        EXPECT_EQ(controls.GetCount(IDC_MODEL), 2);
        EXPECT_EQ(controls.GetItemText(IDC_MODEL, 1), "AA\x81");
        EXPECT_EQ(controls.GetCurSel(IDC_MODEL), -1);
        controls.SetCurSel(IDC_MODEL, 0);
        EXPECT_EQ(controls.GetCurSel(IDC_MODEL), 0);
        EXPECT_EQ(controls.GetWindowText(IDC_MODEL), "ZZ\x81");
        controls.SetCurSel(IDC_MODEL, 5);
        EXPECT_EQ(controls.GetCurSel(IDC_MODEL), -1);
        controls.ResetContent(IDC_MODEL);
        EXPECT_EQ(controls.GetCount(IDC_MODEL), 0);
        EXPECT_EQ(controls.GetItemText(IDC_MODEL, 0), "");

        // Ids the template does not have are ignored.
        controls.SetWindowText(IDC_IP_ADDRESS, "x");
        EXPECT_EQ(controls.GetWindowText(IDC_IP_ADDRESS), "");
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_IP_ADDRESS));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Win32TemplateDialog, RoutesClicksAndSelectionChangesAndHoldsChecksAndEnabling) {
    Win32DialogRunner runner;
    CheckingDialog dialog(IDD_COMM_SETTING, runner, [](DialogControls& controls, HWND window) {
        controls.CheckDlgButton(IDC_MCS_ENABLE, 1);
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_MCS_ENABLE), 1);
        controls.CheckDlgButton(IDC_MCS_ENABLE, 0);
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_MCS_ENABLE), 0);
        // An edit has no check.
        controls.CheckDlgButton(IDC_PORT, 1);
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_PORT), 0);
        controls.EnableWindow(IDC_DETECT, false);
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_DETECT));
        controls.EnableWindow(IDC_DETECT, true);
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_DETECT));
        // What the controls tell the dialog, as the user's actions make them.
        SendMessageW(GetDlgItem(window, IDC_USB), BM_CLICK, 0, 0);
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_USB), 1);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PORT, EN_CHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PORT)));
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_DETECT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_DETECT)));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const std::vector<std::pair<int, ControlEvent>> expected = {
        {IDC_USB, ControlEvent::Clicked}, {IDC_DETECT, ControlEvent::Clicked}};
    EXPECT_EQ(dialog.events, expected);

    CheckingDialog list(IDD_USB_DEVICE_LIST, runner, [](DialogControls& controls, HWND window) {
        // The list's selection is what its OK takes.
        controls.AddString(IDC_USB_DEVICE_LIST, "unit-1");
        controls.AddString(IDC_USB_DEVICE_LIST, "unit-2");
        EXPECT_EQ(controls.GetCurSel(IDC_USB_DEVICE_LIST), -1);
        controls.SetCurSel(IDC_USB_DEVICE_LIST, 1);
        EXPECT_EQ(controls.GetCurSel(IDC_USB_DEVICE_LIST), 1);
        EXPECT_EQ(controls.GetItemText(IDC_USB_DEVICE_LIST, 1), "unit-2");
        HWND control = GetDlgItem(window, IDC_USB_DEVICE_LIST);
        for (unsigned code : {LBN_SELCHANGE, LBN_DBLCLK, LBN_SETFOCUS})
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_USB_DEVICE_LIST, code),
                         reinterpret_cast<LPARAM>(control));
    });
    EXPECT_EQ(list.DoModal(), IDOK);
    const std::vector<std::pair<int, ControlEvent>> listEvents = {
        {IDC_USB_DEVICE_LIST, ControlEvent::SelectionChanged},
        {IDC_USB_DEVICE_LIST, ControlEvent::DoubleClicked}};
    EXPECT_EQ(list.events, listEvents);
}

// Ports take hexadecimal digits and the time-out decimal ones as typed;
// Backspace still works.
TEST(Win32TemplateDialog, DigitFieldsTakeOnlyTheirDigitsAsTyped) {
    Win32DialogRunner runner;
    CheckingDialog dialog(IDD_COMM_SETTING, runner, [](DialogControls& controls, HWND window) {
        for (const int id : {IDC_PORT, IDC_MCS_PORT, IDC_TIMEOUT}) {
            controls.SetWindowText(id, "");
            EnableWindow(GetDlgItem(window, id), TRUE);
            for (const wchar_t c : std::wstring(L"8g0!x8Fa\b"))
                SendMessageW(GetDlgItem(window, id), WM_CHAR, c, 0);
        }
        EXPECT_EQ(controls.GetWindowText(IDC_PORT), "808F");
        EXPECT_EQ(controls.GetWindowText(IDC_MCS_PORT), "808F");
        EXPECT_EQ(controls.GetWindowText(IDC_TIMEOUT), "80");
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Win32TemplateDialog, PlacesEveryControlAtItsTemplatePositionInDialogUnits) {
    for (ResourceLanguage language : {ResourceLanguage::English, ResourceLanguage::Japanese}) {
        for (const DialogTemplate& dialogTemplate : language == ResourceLanguage::English
                                                        ? EnglishDialogTemplates()
                                                        : JapaneseDialogTemplates()) {
            SCOPED_TRACE(dialogTemplate.id);
            SetResourceLanguage(language);
            Win32DialogRunner runner;
            CheckingDialog dialog(dialogTemplate.id, runner, [&](DialogControls&, HWND window) {
                RECT client{0, 0, dialogTemplate.width, dialogTemplate.height};
                MapDialogRect(window, &client);
                RECT shown{};
                GetClientRect(window, &shown);
                EXPECT_EQ(shown.right, client.right);
                EXPECT_EQ(shown.bottom, client.bottom);
                for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                     child = GetWindow(child, GW_HWNDNEXT)) {
                    const int id = GetDlgCtrlID(child);
                    const DialogControl* control = dialogTemplate.Find(id);
                    // A combo box's height is its open list's.
                    if (control == nullptr || control->kind == ControlKind::ComboBox)
                        continue;
                    // The dialog manager converts the position and the size
                    // each on its own.
                    RECT position{control->x, control->y, 0, 0};
                    RECT size{0, 0, control->w, control->h};
                    MapDialogRect(window, &position);
                    MapDialogRect(window, &size);
                    RECT place{};
                    GetWindowRect(child, &place);
                    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
                    EXPECT_EQ(place.left, position.left) << id;
                    EXPECT_EQ(place.top, position.top) << id;
                    EXPECT_EQ(place.right - place.left, size.right) << id;
                    EXPECT_EQ(place.bottom - place.top, size.bottom) << id;
                    EXPECT_EQ(IsWindowEnabled(child) == FALSE, (control->style & WS_DISABLED) != 0)
                        << id;
                }
            });
            EXPECT_EQ(dialog.DoModal(), IDOK);
        }
    }
    SetResourceLanguage(ResourceLanguage::English);
}

TEST(Win32TemplateDialog, AnUnknownTemplateIsCancelled) {
    Win32DialogRunner runner;
    bool opened = false;
    CheckingDialog dialog(999, runner, [&](DialogControls&, HWND) { opened = true; });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(opened);
}

} // namespace
} // namespace kelvane::test
