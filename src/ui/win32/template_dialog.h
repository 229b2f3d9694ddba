// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"

#include "ui/win32/windows_api.h"

#include <map>
#include <string>
#include <utility>

namespace kelvane {

// The window property that carries a window's control id where Win32 keeps
// none (top-level windows): the main window's and each dialog's resource id.
inline constexpr const wchar_t* kControlIdProperty = L"KelvaneControlId";

// A dialog run on the real controls the dialog manager built from its
// template; the user's clicks and selection changes routed to the CDialog.
class TemplateDialog : public DialogControls {
public:
    TemplateDialog(CDialog& dialog, const DialogTemplate& dialogTemplate, bool japanese);

    // OnInitDialog, then the modal loop; the result the dialog ended with,
    // IDCANCEL when the dialog could not be made.
    int Run(HWND owner);

    HWND Window() const { return m_window; }

    void EnableWindow(int id, bool enable) override;
    bool IsWindowEnabled(int id) const override;
    std::string GetWindowText(int id) const override;
    void SetWindowText(int id, const std::string& text) override;
    void ReplaceEditText(int id, const std::string& text) override;
    int IsDlgButtonChecked(int id) const override;
    void CheckDlgButton(int id, int state) override;
    int AddString(int id, const std::string& text) override;
    void ResetContent(int id) override;
    int GetCount(int id) const override;
    int GetCurSel(int id) const override;
    void SetCurSel(int id, int index) override;
    std::string GetItemText(int id, int index) const override;
    void EndDialog(int result) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommandMessage(int id, unsigned code);
    HWND Control(int id) const;
    ControlKind KindOf(int id) const;
    // The text last set by the dialog and how it was shown: read back
    // unchanged, it gives the dialog's own bytes, even where they do not
    // convert for display.
    std::string TextOrOriginal(int id, const std::wstring& shown) const;
    std::wstring ItemTextShown(int id, int index) const;

    CDialog& m_dialog;
    const DialogTemplate& m_template;
    bool m_japanese;
    HWND m_window = nullptr;
    std::map<int, std::pair<std::string, std::wstring>> m_setTexts;
    // The bytes each list or combo entry was added with, by control.
    std::map<int, std::vector<std::string>> m_items;
    bool m_ended = false;
    int m_result = IDCANCEL;
};

} // namespace kelvane
