// SPDX-License-Identifier: MIT
#include "dialogs/model_select_dlg.h"

#include "dialogs/model_name.h"
#include "res/dialog_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/path_helpers.h"

#include <algorithm>

namespace kelvane {

CModelSelectDlg::CModelSelectDlg(MessageBoxService& messageBoxes,
                                 std::function<std::vector<std::string>()> installedModels,
                                 DialogRunner& runner)
    : CDialog(IDD_MODEL_SELECT, runner), m_messageBoxes(messageBoxes),
      m_installedModels(std::move(installedModels)) {}

void CModelSelectDlg::DoDataExchange(CDataExchange& exchange) {
    DDX_CBString(exchange, IDC_MODEL, m_strModel);
}

bool CModelSelectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_strCurrentModel.empty())
        m_strCurrentModel = kModelUndefined;
    Controls().SetWindowText(IDC_CURRENT_MODEL, m_strCurrentModel);
    std::vector<std::string> models = m_installedModels();
    // The current model is not offered again; only its first entry goes.
    const auto current = std::find_if(models.begin(), models.end(), [this](const std::string& m) {
        return EqualIgnoringCase(m, m_strCurrentModel);
    });
    if (current != models.end())
        models.erase(current);
    Controls().ResetContent(IDC_MODEL);
    for (const std::string& model : models)
        if (!model.empty())
            Controls().AddString(IDC_MODEL, model);
    Controls().SetCurSel(IDC_MODEL, 0);
    return true;
}

void CModelSelectDlg::OnOK() {
    UpdateData(true);
    const std::string caption = LoadResourceString(IDS_APPLICATION_NAME);
    if (m_strModel.empty()) {
        m_messageBoxes.MessageBox(LoadResourceString(IDS_MODEL_NAME_NOT_SPECIFIED), caption,
                                  MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strModel = UpperCaseModelName(m_strModel);
    if (!IsValidModelName(m_strModel)) {
        m_messageBoxes.MessageBox(LoadResourceString(IDS_MODEL_NAME_ILLEGAL), caption,
                                  MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

} // namespace kelvane
