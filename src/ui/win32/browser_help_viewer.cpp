// SPDX-License-Identifier: MIT
#include "ui/win32/browser_help_viewer.h"

#include "platform/files/atomic_file.h"
#include "platform/text/windows_text.h"
#include "res/string_table.h"
#include "ui/context_help.h"
#include "ui/win32/text_popup.h"

#include <cstdio>
#include <sstream>

namespace kelvane {
namespace {

std::string LanguageFolder() {
    return CurrentResourceLanguage() == ResourceLanguage::Japanese ? "ja" : "en";
}

std::string TopicKey(const std::string& language, uint32_t contextId) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%x", contextId);
    return language + "." + hex;
}

} // namespace

bool BrowserHelpViewer::Load(const std::string& helpFolder) {
    std::string table;
    int error = 0;
    if (!ReadWholeFile(helpFolder + "\\topics.txt", table, error))
        return false;
    m_folder = helpFolder;
    std::istringstream lines(table);
    std::string key, page;
    while (lines >> key >> page)
        m_topics[key] = page;
    return true;
}

std::string BrowserHelpViewer::TopicPage(uint32_t contextId) const {
    for (const std::string& language : {LanguageFolder(), std::string("en")}) {
        const auto found = m_topics.find(TopicKey(language, contextId));
        if (found != m_topics.end())
            return found->second;
    }
    return {};
}

bool BrowserHelpViewer::OpenPage(const std::string& relativePage) {
    std::string path = m_folder + "\\" + relativePage;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    // ShellExecuteW tells success by a value above 32.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_owner, L"open", WidePath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool BrowserHelpViewer::ShowTopic(uint32_t contextId) {
    const std::string page = TopicPage(contextId);
    return !page.empty() && OpenPage(page);
}

std::optional<std::string> BrowserHelpViewer::PopupText(const std::string& popupFile,
                                                        uint32_t topicId) const {
    for (const std::string& language : {LanguageFolder(), std::string("en")}) {
        std::string file;
        int error = 0;
        if (!ReadWholeFile(m_folder + "\\" + language + "\\" + popupFile, file, error))
            continue;
        std::optional<std::string> text = FindTextPopup(file, topicId);
        if (text && !text->empty())
            return text;
    }
    return std::nullopt;
}

bool BrowserHelpViewer::ShowPopup(const HelpPopupRequest& request) {
    const std::optional<std::string> text = PopupText(request.popupFile, request.topicId);
    if (!text)
        return false;
    if (IsWindow(m_popup))
        DestroyWindow(m_popup);
    m_popup = ShowTextPopup(*text, request);
    return m_popup != nullptr;
}

bool BrowserHelpViewer::ShowContents() {
    return OpenPage(LanguageFolder() + "/index.html");
}

// The browser has its own index and search of the page; the contents page
// links every topic.
bool BrowserHelpViewer::ShowIndex() {
    return ShowContents();
}

bool BrowserHelpViewer::ShowSearch() {
    return ShowContents();
}

} // namespace kelvane
