// SPDX-License-Identifier: MIT
#include "platform/dialog/dialog.h"

#include <algorithm>

namespace kelvane {

void DDX_Text(CDataExchange& exchange, int controlId, std::string& value) {
    if (exchange.m_bSaveAndValidate)
        value = exchange.m_controls.GetWindowText(controlId);
    else
        exchange.m_controls.SetWindowText(controlId, value);
}

void DDX_Check(CDataExchange& exchange, int controlId, uint32_t& value) {
    if (exchange.m_bSaveAndValidate)
        value = exchange.m_controls.IsDlgButtonChecked(controlId) != 0 ? 1 : 0;
    else
        exchange.m_controls.CheckDlgButton(controlId, value != 0 ? 1 : 0);
}

void DDX_CBString(CDataExchange& exchange, int controlId, std::string& value) {
    DialogControls& controls = exchange.m_controls;
    if (exchange.m_bSaveAndValidate) {
        value = controls.GetWindowText(controlId);
        return;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const int count = controls.GetCount(controlId);
    for (int i = 0; i < count; ++i) {
        const std::string entry = controls.GetItemText(controlId, i);
        if (entry.size() >= value.size() &&
            std::equal(value.begin(), value.end(), entry.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); })) {
            controls.SetCurSel(controlId, i);
            return;
        }
    }
    controls.SetWindowText(controlId, value);
}

void DDX_Radio(CDataExchange& exchange, int firstId, int& value) {
    const auto& controls = exchange.m_template.controls;
    auto button = controls.begin();
    while (button != controls.end() && button->id != firstId)
        ++button;
    if (exchange.m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (auto member = button; member != controls.end(); ++member) {
        if (member != button && (member->style & WS_GROUP) != 0)
            break;
        if (member->kind != ControlKind::RadioButton)
            continue;
        if (exchange.m_bSaveAndValidate) {
            if (exchange.m_controls.IsDlgButtonChecked(member->id) != 0)
                value = index;
        } else {
            exchange.m_controls.CheckDlgButton(member->id, index == value ? 1 : 0);
        }
        ++index;
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnCommand(int controlId, ControlEvent event) {
    if (event != ControlEvent::Clicked)
        return;
    if (controlId == IDOK)
        OnOK();
    else if (controlId == IDCANCEL)
        OnCancel();
}

bool CDialog::OnHelpInfo(int) {
    return false;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (m_pControls == nullptr || m_pTemplate == nullptr)
        return false;
    CDataExchange exchange(*m_pControls, *m_pTemplate, saveAndValidate);
    DoDataExchange(exchange);
    return true;
}

} // namespace kelvane
