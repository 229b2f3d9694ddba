// SPDX-License-Identifier: MIT
#include "dialogs/file_model_setting_dlg.h"

#include "dialogs/model_name.h"
#include "res/dialog_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/path_helpers.h"
#include "ui/browse_for_file.h"

namespace kelvane {
namespace {

std::string AfterLastSeparator(const std::string& path) {
    const size_t separator = FindLastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

std::string FrdDisplayName(const std::string& path) {
    const std::string name = AfterLastSeparator(path);
    const size_t percent = name.rfind('%');
    return percent == std::string::npos ? name : name.substr(percent + 1);
}

std::string FrdPathInMpvDir(const std::string& base, const std::string& path) {
    std::string name = AfterLastSeparator(path);
    std::string folderName;
    if (const size_t percent = name.rfind('%'); percent != std::string::npos) {
        name = name.substr(percent + 1);
    } else {
        const size_t separator = FindLastSeparator(path);
        const std::string folder =
            separator == std::string::npos ? std::string() : path.substr(0, separator);
        folderName = AfterLastSeparator(folder);
        // A file at the root of a drive has no folder to keep.
        if (folderName.size() == 2 && folderName[1] == ':')
            folderName.clear();
    }
    // The new path uses the separator of the MPV file's folder.
    const char separator = base.empty() ? '\\' : base.back();
    std::string moved = base + "flash" + separator;
    if (!folderName.empty())
        moved += folderName + separator;
    return moved + name;
}

CFileModelSettingDlg::CFileModelSettingDlg(FileModelSettingContext context, DialogRunner& runner)
    : CDialog(IDD_FILE_MODEL_SETTING, runner), m_context(std::move(context)) {}

void CFileModelSettingDlg::DoDataExchange(CDataExchange& exchange) {
    DDX_Text(exchange, IDC_MPV_FILE, m_strMpvPath);
    DDX_Text(exchange, IDC_MCI_FILE, m_strMciPath);
    DDX_Text(exchange, IDC_FRD_FILE, m_strFrdPath);
    DDX_CBString(exchange, IDC_MODEL, m_strModel);
}

bool CFileModelSettingDlg::OnInitDialog() {
    m_strMpvAsRead = m_strMpvPath;
    m_strMciAsRead = m_strMciPath;
    m_astrFrdTargetsAsRead = m_astrFrdTargets;
    CDialog::OnInitDialog();
    // A project without an MCI file cannot be given one here.
    if (m_strMciPath.empty()) {
        Controls().EnableWindow(IDC_MCI_FILE, false);
        Controls().EnableWindow(IDC_BROWSE_MCI, false);
    }
    m_nFrdCount = static_cast<int32_t>(m_astrFrdSources.size());
    Controls().ResetContent(IDC_FRD_TARGET);
    if (m_nFrdCount != 0) {
        for (const std::string& source : m_astrFrdSources)
            Controls().AddString(IDC_FRD_TARGET, FrdDisplayName(source));
        Controls().SetCurSel(IDC_FRD_TARGET, 0);
        m_nCurrentTarget = 0;
        m_strFrdPath = IsTarget(0) ? m_astrFrdTargets[0] : std::string();
    } else {
        for (const int id : {IDC_CONVERT_TO_MPV_DIR, IDC_FRD_TARGET, IDC_FRD_FILE, IDC_BROWSE_FRD})
            Controls().EnableWindow(id, false);
    }
    if (m_strCurrentModel.empty())
        m_strCurrentModel = kModelUndefined;
    Controls().SetWindowText(IDC_CURRENT_MODEL, m_strCurrentModel);

    Controls().ResetContent(IDC_MODEL);
    for (const std::string& model : m_context.installedModels())
        if (!model.empty())
            Controls().AddString(IDC_MODEL, model);
    Controls().SetCurSel(IDC_MODEL, 0);
    UpdateData(false);
    if (m_nFrdCount == 0 && m_context.frdListKeptAsRead)
        Controls().SetWindowText(IDC_FRD_FILE, LoadResourceString(IDS_FRD_LIST_KEPT_AS_READ));
    return true;
}

void CFileModelSettingDlg::OnCommand(int controlId, ControlEvent event) {
    if (event == ControlEvent::Clicked) {
        switch (controlId) {
        case IDC_BROWSE_MPV:
            OnBrowseMpv();
            return;
        case IDC_BROWSE_MCI:
            OnBrowseMci();
            return;
        case IDC_BROWSE_FRD:
            OnBrowseFrd();
            return;
        case IDC_CONVERT_TO_MPV_DIR:
            OnConvertToMpvDir();
            return;
        default:
            break;
        }
    }
    if (event == ControlEvent::SelectionChanged && controlId == IDC_FRD_TARGET) {
        OnSelchangeTarget();
        return;
    }
    CDialog::OnCommand(controlId, event);
}

bool CFileModelSettingDlg::OnHelpInfo(int controlId) {
    if (controlId <= 0 || !m_context.help)
        return CDialog::OnHelpInfo(controlId);
    return m_context.help(controlId);
}

void CFileModelSettingDlg::Browse(int editId, int kind) {
    std::string path = Controls().GetWindowText(editId);
    if (m_context.browse && m_context.browse(path, kind) == 1)
        Controls().ReplaceEditText(editId, path);
}

void CFileModelSettingDlg::OnBrowseMpv() {
    Browse(IDC_MPV_FILE, FILE_DIALOG_MPV);
}

void CFileModelSettingDlg::OnBrowseMci() {
    Browse(IDC_MCI_FILE, FILE_DIALOG_MCI);
}

void CFileModelSettingDlg::OnBrowseFrd() {
    Browse(IDC_FRD_FILE, FILE_DIALOG_FRD);
}

void CFileModelSettingDlg::OnSelchangeTarget() {
    UpdateData(true);
    if (IsTarget(m_nCurrentTarget))
        m_astrFrdTargets[size_t(m_nCurrentTarget)] = m_strFrdPath;
    m_nCurrentTarget = Controls().GetCurSel(IDC_FRD_TARGET);
    m_strFrdPath = IsTarget(m_nCurrentTarget) ? m_astrFrdTargets[size_t(m_nCurrentTarget)] : "";
    UpdateData(false);
}

void CFileModelSettingDlg::OnConvertToMpvDir() {
    UpdateData(true);
    const size_t separator = FindLastSeparator(m_strMpvPath);
    const std::string base =
        separator == std::string::npos ? std::string() : m_strMpvPath.substr(0, separator + 1);
    for (int32_t i = 0; i < m_nFrdCount && IsTarget(i); ++i)
        m_astrFrdTargets[size_t(i)] = FrdPathInMpvDir(base, m_astrFrdTargets[size_t(i)]);
    // A path typed into the field and not stored yet gives way to the new one.
    const int chosen = Controls().GetCurSel(IDC_FRD_TARGET);
    m_strFrdPath = IsTarget(chosen) ? m_astrFrdTargets[size_t(chosen)] : "";
    UpdateData(false);
}

void CFileModelSettingDlg::Refuse(const std::string& text) {
    m_context.messageBoxes.MessageBox(text, LoadResourceString(IDS_APPLICATION_NAME),
                                      MB_OK | MB_ICONEXCLAMATION);
}

void CFileModelSettingDlg::OnOK() {
    UpdateData(true);
    const int chosen = Controls().GetCurSel(IDC_FRD_TARGET);
    if (!m_strFrdPath.empty() && IsTarget(chosen))
        m_astrFrdTargets[size_t(chosen)] = m_strFrdPath;
    // The project's fields and the FSR file hold paths of a fixed size: a
    // longer one typed or chosen is refused here rather than cut when it is
    // stored. One left as read fits where it was read from.
    const auto tooLong = [this](const char* kind, size_t limit, const std::string& path) {
        Refuse(FormatResourceString(IDS_DIALOG_PATH_TOO_LONG, {kind, std::to_string(limit), path}));
    };
    if (m_strMpvPath.size() > kMaxFilePath && m_strMpvPath != m_strMpvAsRead)
        return tooLong("MPV", kMaxFilePath, m_strMpvPath);
    if (m_strMciPath.size() > kMaxFilePath && m_strMciPath != m_strMciAsRead)
        return tooLong("MCI", kMaxFilePath, m_strMciPath);
    for (size_t i = 0; i < m_astrFrdTargets.size(); ++i) {
        const std::string& target = m_astrFrdTargets[i];
        const bool asRead =
            i < m_astrFrdTargetsAsRead.size() && target == m_astrFrdTargetsAsRead[i];
        if (target.size() > kMaxFrdPath && !asRead)
            return tooLong("FRD", kMaxFrdPath, target);
    }
    // The FSR file takes new FRD paths only with the MPV file's folder.
    const size_t mpvSeparator = FindLastSeparator(m_strMpvPath);
    if ((mpvSeparator == std::string::npos || mpvSeparator == 0) &&
        m_astrFrdTargets != m_astrFrdSources)
        return Refuse(LoadResourceString(IDS_FRD_NEEDS_MPV_FOLDER));
    if (m_strModel.empty())
        return Refuse(LoadResourceString(IDS_MODEL_NAME_NOT_SPECIFIED));
    m_strModel = UpperCaseModelName(m_strModel);
    if (!IsValidModelName(m_strModel))
        return Refuse(LoadResourceString(IDS_MODEL_NAME_ILLEGAL));
    EndDialog(IDOK);
}

} // namespace kelvane
