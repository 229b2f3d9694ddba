// SPDX-License-Identifier: MIT
#include "ui/win32/template_dialog.h"

#include "platform/text/windows_text.h"
#include "ui/win32/dialog_template_builder.h"

#include <cwctype>

namespace kelvane {
namespace {

std::wstring WindowTextOf(HWND window) {
    if (window == nullptr)
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// An edit that takes only hexadecimal digits as they are typed; control keys
// (Backspace, Ctrl+V and the like) pass. Edits have no style for this.
LRESULT CALLBACK HexDigitsOnly(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               UINT_PTR subclassId, DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, &HexDigitsOnly, subclassId);
    if (message == WM_CHAR && wParam >= 0x20 && !iswxdigit(static_cast<wint_t>(wParam))) {
        MessageBeep(MB_OK);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

TemplateDialog::TemplateDialog(CDialog& dialog, const DialogTemplate& dialogTemplate, bool japanese)
    : m_dialog(dialog), m_template(dialogTemplate), m_japanese(japanese) {}

int TemplateDialog::Run(HWND owner) {
    const std::vector<uint32_t> data = BuildDialogTemplate(m_template, m_japanese);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(data.data()), owner,
        &TemplateDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_window = nullptr;
    if (result == -1)
        return IDCANCEL;
    return m_result;
}

INT_PTR CALLBACK TemplateDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TemplateDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
    }
    auto* self = reinterpret_cast<TemplateDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self == nullptr ? FALSE : self->OnMessage(message, wParam, lParam);
}

INT_PTR TemplateDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetPropW(m_window, kControlIdProperty,
                 reinterpret_cast<HANDLE>(static_cast<uintptr_t>(m_template.id)));
        for (const DialogControl& control : m_template.controls)
            if (control.kind == ControlKind::Edit && (control.style & ES_HEXDIGITS) != 0)
                SetWindowSubclass(GetDlgItem(m_window, control.id), &HexDigitsOnly, 1, 0);
        const bool defaultFocus = m_dialog.OnInitDialog();
        return defaultFocus ? TRUE : FALSE;
    }
    case WM_COMMAND:
        OnCommandMessage(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HELP: {
        // F1 names the focused control, the "?" button the one clicked; a
        // static without an id, or the dialog itself, is no control.
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        int id = info->iContextType == HELPINFO_WINDOW ? info->iCtrlId : 0;
        if (id == static_cast<int>(m_template.id) || id == 0xFFFF)
            id = 0;
        m_dialog.OnHelpInfo(id);
        return TRUE;
    }
    case WM_DESTROY:
        RemovePropW(m_window, kControlIdProperty);
        return FALSE;
    default:
        return FALSE;
    }
}

void TemplateDialog::OnCommandMessage(int id, unsigned code) {
    if (m_ended)
        return;
    const ControlKind kind = KindOf(id);
    // Escape and the close button send IDCANCEL, Enter the default button.
    if (id == IDOK || id == IDCANCEL) {
        if (code == BN_CLICKED)
            m_dialog.OnCommand(id, ControlEvent::Clicked);
        return;
    }
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        if (code == BN_CLICKED)
            m_dialog.OnCommand(id, ControlEvent::Clicked);
        break;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE)
            m_dialog.OnCommand(id, ControlEvent::SelectionChanged);
        else if (code == LBN_DBLCLK)
            m_dialog.OnCommand(id, ControlEvent::DoubleClicked);
        break;
    case ControlKind::ComboBox:
        if (code == CBN_SELCHANGE)
            m_dialog.OnCommand(id, ControlEvent::SelectionChanged);
        break;
    default:
        break;
    }
}

HWND TemplateDialog::Control(int id) const {
    if (m_window == nullptr || m_template.Find(id) == nullptr)
        return nullptr;
    return GetDlgItem(m_window, id);
}

ControlKind TemplateDialog::KindOf(int id) const {
    const DialogControl* control = m_template.Find(id);
    return control == nullptr ? ControlKind::Static : control->kind;
}

void TemplateDialog::EnableWindow(int id, bool enable) {
    if (HWND control = Control(id))
        ::EnableWindow(control, enable ? TRUE : FALSE);
}

bool TemplateDialog::IsWindowEnabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && ::IsWindowEnabled(control) != FALSE;
}

std::string TemplateDialog::TextOrOriginal(int id, const std::wstring& shown) const {
    const auto set = m_setTexts.find(id);
    if (set != m_setTexts.end() && set->second.second == shown)
        return set->second.first;
    return ProjectFromWide(shown);
}

std::wstring TemplateDialog::ItemTextShown(int id, int index) const {
    HWND control = Control(id);
    const bool combo = KindOf(id) == ControlKind::ComboBox;
    const LRESULT length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

std::string TemplateDialog::GetWindowText(int id) const {
    HWND control = Control(id);
    if (control == nullptr)
        return {};
    const std::wstring shown = WindowTextOf(control);
    if (KindOf(id) == ControlKind::ComboBox) {
        // A chosen entry gives the bytes it was added with.
        const int chosen = GetCurSel(id);
        if (chosen >= 0 && ItemTextShown(id, chosen) == shown)
            return GetItemText(id, chosen);
    }
    return TextOrOriginal(id, shown);
}

void TemplateDialog::SetWindowText(int id, const std::string& text) {
    HWND control = Control(id);
    if (control == nullptr)
        return;
    const std::wstring shown = WidePath(text);
    m_setTexts[id] = {text, shown};
    SetWindowTextW(control, shown.c_str());
}

void TemplateDialog::ReplaceEditText(int id, const std::string& text) {
    HWND control = Control(id);
    if (control == nullptr || KindOf(id) != ControlKind::Edit)
        return;
    const std::wstring shown = WidePath(text);
    m_setTexts[id] = {text, shown};
    SendMessageW(control, EM_SETSEL, 0, -1);
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.c_str()));
    SendMessageW(control, EM_SCROLLCARET, 0, 0);
}

int TemplateDialog::IsDlgButtonChecked(int id) const {
    HWND control = Control(id);
    return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void TemplateDialog::CheckDlgButton(int id, int state) {
    const ControlKind kind = KindOf(id);
    if (kind != ControlKind::RadioButton && kind != ControlKind::CheckBox)
        return;
    if (HWND control = Control(id))
        SendMessageW(control, BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int TemplateDialog::AddString(int id, const std::string& text) {
    HWND control = Control(id);
    const ControlKind kind = KindOf(id);
    if (control == nullptr || (kind != ControlKind::ListBox && kind != ControlKind::ComboBox))
        return -1;
    const std::wstring shown = WidePath(text);
    const LRESULT index =
        SendMessageW(control, kind == ControlKind::ComboBox ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(shown.c_str()));
    if (index < 0)
        return -1;
    std::vector<std::string>& items = m_items[id];
    items.insert(items.begin() + std::min<size_t>(static_cast<size_t>(index), items.size()), text);
    return static_cast<int>(index);
}

void TemplateDialog::ResetContent(int id) {
    HWND control = Control(id);
    const ControlKind kind = KindOf(id);
    if (control == nullptr || (kind != ControlKind::ListBox && kind != ControlKind::ComboBox))
        return;
    SendMessageW(control, kind == ControlKind::ComboBox ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    m_items.erase(id);
}

int TemplateDialog::GetCount(int id) const {
    HWND control = Control(id);
    const ControlKind kind = KindOf(id);
    if (control == nullptr || (kind != ControlKind::ListBox && kind != ControlKind::ComboBox))
        return 0;
    const LRESULT count =
        SendMessageW(control, kind == ControlKind::ComboBox ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

int TemplateDialog::GetCurSel(int id) const {
    HWND control = Control(id);
    const ControlKind kind = KindOf(id);
    if (control == nullptr || (kind != ControlKind::ListBox && kind != ControlKind::ComboBox))
        return -1;
    const LRESULT index =
        SendMessageW(control, kind == ControlKind::ComboBox ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void TemplateDialog::SetCurSel(int id, int index) {
    HWND control = Control(id);
    const ControlKind kind = KindOf(id);
    if (control == nullptr || (kind != ControlKind::ListBox && kind != ControlKind::ComboBox))
        return;
    const WPARAM chosen = index >= 0 && index < GetCount(id) ? index : static_cast<WPARAM>(-1);
    SendMessageW(control, kind == ControlKind::ComboBox ? CB_SETCURSEL : LB_SETCURSEL, chosen, 0);
}

std::string TemplateDialog::GetItemText(int id, int index) const {
    const auto items = m_items.find(id);
    if (items == m_items.end() || index < 0 || static_cast<size_t>(index) >= items->second.size())
        return {};
    return items->second[static_cast<size_t>(index)];
}

void TemplateDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    if (m_window != nullptr)
        ::EndDialog(m_window, result);
}

} // namespace kelvane
