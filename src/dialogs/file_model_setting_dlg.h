// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"
#include "platform/dialog/dialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvane {

// What the files and model dialog needs of the application.
struct FileModelSettingContext {
    MessageBoxService& messageBoxes;
    std::function<int(std::string& path, int kind)> browse; // BrowseForFile
    std::function<std::vector<std::string>()> installedModels;
    std::function<bool(int controlId)> help;
    // The FRD list could not be taken apart for editing; it is saved as read.
    bool frdListKeptAsRead = false;
};

// "Files & ICE model setting": the MPV and MCI files, the new places of the
// FRD files and the model name the next save writes. It works on its own
// copies; the caller takes them back on OK.
class CFileModelSettingDlg : public CDialog {
public:
    // Paths the project's fields and the FSR file's readers can hold.
    static constexpr size_t kMaxFilePath = 127;
    static constexpr size_t kMaxFrdPath = 255;

    CFileModelSettingDlg(FileModelSettingContext context, DialogRunner& runner);

    bool OnInitDialog() override;
    void OnCommand(int controlId, ControlEvent event) override;
    bool OnHelpInfo(int controlId) override;
    void OnOK() override;

    void OnBrowseMpv();
    void OnBrowseMci();
    void OnBrowseFrd();
    // Moves every FRD file into "flash" beside the MPV file, keeping the
    // name of the folder each one was in.
    void OnConvertToMpvDir();
    // Keeps the field of the target left and shows the one chosen.
    void OnSelchangeTarget();

    std::string m_strMpvPath;
    std::string m_strMciPath;
    std::string m_strFrdPath;
    std::string m_strModel;
    std::vector<std::string> m_astrFrdSources;
    std::vector<std::string> m_astrFrdTargets;
    int32_t m_nFrdCount = 0;
    int32_t m_nCurrentTarget = 0;
    std::string m_strCurrentModel;

protected:
    void DoDataExchange(CDataExchange& exchange) override;

private:
    void Browse(int editId, int kind);
    bool IsTarget(int index) const {
        return index >= 0 && index < m_nFrdCount &&
               static_cast<size_t>(index) < m_astrFrdTargets.size();
    }
    void Refuse(const std::string& text);

    FileModelSettingContext m_context;
    // The paths as the dialog opened with them: one the user did not change
    // goes back as it was read, whatever its length.
    std::string m_strMpvAsRead;
    std::string m_strMciAsRead;
    std::vector<std::string> m_astrFrdTargetsAsRead;
};

// The name the Target list shows for an FRD path: its file name, and of a
// name with "%" in it only the part after the last one.
std::string FrdDisplayName(const std::string& path);

// Where the batch conversion moves an FRD file: into "flash" in `base` (the
// MPV file's folder with its separator, or empty), in a folder named as the
// one the file was in.
std::string FrdPathInMpvDir(const std::string& base, const std::string& path);

} // namespace kelvane
