// SPDX-License-Identifier: MIT
// View > Code page: the code page the open project's texts are read in.
#include "app/klvn_main_app.h"

#include "platform/text/code_page.h"
#include "platform/text/code_page_conversion.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <algorithm>

namespace kelvane {
namespace {

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

bool CKLVN_MAINApp::LocationIsAscii() const {
    if (!IsAscii(m_settings.m_strProjectDir) || !IsAscii(m_settings.m_strRecordedProjectDir) ||
        !IsAscii(m_settings.m_strProjectBaseName))
        return false;
    return std::all_of(m_settings.m_fileSet.begin(), m_settings.m_fileSet.end(),
                       [](const ProjectFileEntry& entry) {
                           return IsAscii(entry.m_strName) && IsAscii(entry.m_strNewName) &&
                                  IsAscii(entry.m_strFilePath);
                       });
}

bool CKLVN_MAINApp::SetCodePage(const std::string& codePage) {
    const std::string inUse = ProjectCodePage();
    if (SameCharset(inUse, codePage))
        return true;
    const std::string path = CurrentProjectPath();
    const std::string caption = LoadResourceString(IDS_CAPTION_REPORT);
    if (LocationIsAscii()) {
        SetProjectCodePage(codePage);
        RememberProjectCodePage(m_services.profile, path, codePage);
        m_codePageOrigin = CodePageOrigin::Remembered;
        m_services.repaint.Repaint();
        return true;
    }
    // The names were read in the code page in use; under another they must
    // be read again, which would lose what is not saved.
    if (m_bModified) {
        m_services.messageBoxes.MessageBox(LoadResourceString(IDS_CODE_PAGE_SAVE_FIRST), caption,
                                           MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (PathInCodePage(path, inUse, codePage).empty()) {
        m_services.messageBoxes.MessageBox(
            FormatResourceString(IDS_CODE_PAGE_NO_NAME, {path, codePage, inUse}), caption,
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    RememberProjectCodePage(m_services.profile, path, codePage);
    LoadProject(path);
    m_bModified = m_bRelinked && m_settings.m_bProjectLoaded;
    return true;
}

std::string CKLVN_MAINApp::CodePageLine() const {
    return FormatResourceString(IDS_CODE_PAGE_LINE, {ProjectCodePage()});
}

bool CKLVN_MAINApp::IsCommandChecked(uint32_t commandId) const {
    const char* offered = OfferedCodePageOf(commandId);
    return offered != nullptr && m_settings.m_bProjectLoaded &&
           SameCharset(offered, ProjectCodePage());
}

} // namespace kelvane
