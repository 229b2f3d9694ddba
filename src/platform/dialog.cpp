#include "platform/dialog.h"

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
