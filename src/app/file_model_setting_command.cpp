// SPDX-License-Identifier: MIT
// Edit > Files & ICE model setting, and the model selection of command 32783.
#include "app/klvn_main_app.h"

#include "dialogs/file_model_setting_dlg.h"
#include "dialogs/installed_models.h"
#include "dialogs/model_select_dlg.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"

#include <cstring>

namespace kelvane {
namespace {

// What the Files & ICE model dialog shows of the record and lets the user edit.
struct FileModelValues {
    std::string mpv, mci, model;
    std::vector<std::string> frdTargets;
    bool operator==(const FileModelValues&) const = default;
};

FileModelValues FileModelValuesOf(const ProjectSettings& s) {
    return {std::string(FieldText(s.m_szMpdFile)), std::string(FieldText(s.m_szDefFile)),
            s.m_strSelectedModelName, s.m_astrFrdNewFiles};
}

} // namespace

std::vector<std::string> CKLVN_MAINApp::InstalledModels() const {
    if (m_installedModels)
        return m_installedModels();
    std::vector<std::string> models;
    GetInstalledModels(models);
    return models;
}

void CKLVN_MAINApp::OnFileModelSetting() {
    CFileModelSettingDlg dialog(
        {m_services.messageBoxes,
         [this](std::string& path, int kind) { return BrowseForFile(path, kind); },
         [this] { return InstalledModels(); },
         [this](int controlId) { return ShowControlHelp(controlId); },
         m_fsr.IsCarriedAsRead(FSR_FRD_LIST)},
        m_services.dialogs);
    dialog.m_strMpvPath = std::string(FieldText(m_settings.m_szMpdFile)) + ".mpv";
    dialog.m_strMciPath = std::string(FieldText(m_settings.m_szDefFile));
    dialog.m_astrFrdSources = m_settings.m_astrFrdFiles;
    dialog.m_astrFrdTargets = m_settings.m_astrFrdNewFiles;
    dialog.m_strCurrentModel = m_settings.m_strModelName;
    dialog.m_strModel = m_settings.m_strSelectedModelName;
    if (dialog.DoModal() != IDOK)
        return;
    const FileModelValues before = FileModelValuesOf(m_settings);

    // The dialog refuses paths these fields cannot hold.
    std::string mpv = dialog.m_strMpvPath;
    CheckExtension(mpv, "mpv", 1);
    CopyToField(m_settings.m_szMpdFile, mpv);
    std::memset(m_settings.m_szMpvDir, 0, sizeof m_settings.m_szMpvDir);
    // A separator in the first place is no folder.
    const size_t separator = FindLastSeparator(mpv);
    if (separator != std::string::npos && separator >= 1)
        CopyToField(m_settings.m_szMpvDir, std::string_view(mpv).substr(0, separator));
    std::string mci = dialog.m_strMciPath;
    CheckExtension(mci, "mci", 0);
    CopyToField(m_settings.m_szDefFile, mci);
    m_settings.m_astrFrdNewFiles = dialog.m_astrFrdTargets;
    if (!dialog.m_strModel.empty())
        m_settings.m_strSelectedModelName = dialog.m_strModel;
    // The MPV folder is derived anew at every OK; only what the user sees and
    // edits marks the project.
    if (FileModelValuesOf(m_settings) != before)
        m_bModified = true;
    m_services.repaint.Repaint();
}

void CKLVN_MAINApp::OnModelSelect() {
    CModelSelectDlg dialog(
        m_services.messageBoxes, [this] { return InstalledModels(); }, m_services.dialogs);
    dialog.m_strCurrentModel = m_settings.m_strModelName;
    if (dialog.DoModal() != IDOK || dialog.m_strModel.empty() ||
        dialog.m_strModel == m_settings.m_strSelectedModelName)
        return;
    m_settings.m_strSelectedModelName = dialog.m_strModel;
    m_bModified = true;
    m_services.repaint.Repaint();
}

} // namespace kelvane
