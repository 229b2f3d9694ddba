// SPDX-License-Identifier: MIT
#include "app/about_dlg.h"

#include "res/dialog_ids.h"

namespace kelvane {

CAboutDlg::CAboutDlg(DialogRunner& runner, uint32_t productVersionMS, uint32_t productVersionLS)
    : CDialog(IDD_ABOUTBOX, runner), m_productVersionMS(productVersionMS),
      m_productVersionLS(productVersionLS) {}

bool CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The line's start comes from the template, at most 512 characters of it.
    const std::string base = Controls().GetWindowText(IDC_VERSION).substr(0, 512);
    Controls().SetWindowText(IDC_VERSION,
                             ComposeVersionText(base, m_productVersionMS, m_productVersionLS));
    return true;
}

} // namespace kelvane
