// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"

#include "ui/win32/windows_api.h"

#include <map>
#include <optional>
#include <string>

namespace kelvane {

// The help of the Windows program: HTML pages in a folder beside it, shown
// in the user's browser, and the control popups in a small window of its
// own. The folder holds en/ and ja/ with the same pages and popup file, and
// topics.txt, one "<lang>.0x<hex id> <lang>/<page>" per context id; the
// current resource language's page is shown, the English one when the
// Japanese page is missing.
class BrowserHelpViewer : public HelpViewer {
public:
    void SetOwner(HWND owner) { m_owner = owner; }

    bool Load(const std::string& helpFolder) override;
    bool ShowTopic(uint32_t contextId) override;
    bool ShowPopup(const HelpPopupRequest& request) override;
    bool ShowContents() override;
    bool ShowIndex() override;
    bool ShowSearch() override;

    // The page of a context id in the current language; empty when none.
    std::string TopicPage(uint32_t contextId) const;
    // The text of a popup topic in the current language, UTF-8.
    std::optional<std::string> PopupText(const std::string& popupFile, uint32_t topicId) const;
    // The popup shown last, while it is open.
    HWND Popup() const { return IsWindow(m_popup) ? m_popup : nullptr; }

private:
    bool OpenPage(const std::string& relativePage);

    HWND m_owner = nullptr;
    HWND m_popup = nullptr;
    std::string m_folder;
    std::map<std::string, std::string> m_topics; // "en.0x20080" -> "en/main_window.html"
};

} // namespace kelvane
