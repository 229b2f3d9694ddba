// SPDX-License-Identifier: MIT
#include "ui/context_help.h"

#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace kelvane {

// The wait cursor of one request; it is taken down before a message box,
// which the user answers with the normal cursor.
class ContextHelp::WaitCursor {
public:
    explicit WaitCursor(HelpDesktop& desktop) : m_desktop(desktop) { m_desktop.BeginWaitCursor(); }
    ~WaitCursor() { End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void End() {
        if (std::exchange(m_shown, false))
            m_desktop.EndWaitCursor();
    }

private:
    HelpDesktop& m_desktop;
    bool m_shown = true;
};

namespace {

bool PathExists(const std::string& path) {
    // A file or a folder passes; an unreadable parent counts as missing.
    return !path.empty() && KindOfPath(path) != PathKind::Missing;
}

} // namespace

ContextHelp::ContextHelp(std::string helpFile, HelpViewer& viewer, HelpDesktop& desktop,
                         MessageBoxService& messageBoxes)
    : m_helpFile(std::move(helpFile)), m_viewer(viewer), m_desktop(desktop),
      m_messageBoxes(messageBoxes) {}

void ContextHelp::WinHelp(uint32_t data, uint32_t command) {
    WaitCursor wait(m_desktop);
    m_desktop.CancelModes();
    if (!PathExists(m_helpFile)) {
        Report(FormatResourceString(IDS_HELP_FILE_NOT_FOUND, {m_helpFile}), wait);
        return;
    }
    switch (command) {
    case HELP_CONTEXT:
        ShowContext(data, wait);
        break;
    case HELP_CONTENTS:
        if (EnsureLoaded())
            m_viewer.ShowContents();
        break;
    case HELP_HELPONHELP:
        if (EnsureLoaded())
            m_viewer.ShowSearch();
        break;
    case HELP_FINDER:
        if (EnsureLoaded())
            m_viewer.ShowIndex();
        break;
    case HELP_POPUP:
        ShowPopup(data);
        break;
    default:
        break;
    }
}

bool ContextHelp::OnHelpInfo(int controlId) {
    if (controlId <= 0)
        return false;
    WinHelp(static_cast<uint32_t>(controlId), HELP_POPUP);
    return true;
}

bool ContextHelp::EnsureLoaded() {
    if (!m_loaded && !m_loadFailed) {
        m_loaded = m_viewer.Load(m_helpFile);
        m_loadFailed = !m_loaded;
    }
    return m_loaded;
}

bool ContextHelp::ShowTopic(uint32_t contextId) {
    return EnsureLoaded() && m_viewer.ShowTopic(contextId);
}

void ContextHelp::ShowContext(uint32_t data, WaitCursor& wait) {
    if (ShowTopic(data))
        return;
    // The windows around the one under the cursor may have a topic of their
    // own; the window itself is not asked.
    for (const uint32_t parentId : m_desktop.ParentControlIdsUnderCursor())
        if (ShowTopic(parentId | kHelpContextControlBase))
            return;
    // The id asked for is reported, not the ones tried after it.
    Report(FormatPrintf(LoadResourceString(IDS_HELP_TOPIC_NOT_FOUND),
                        {m_helpFile, data & 0xFFFF0000u, data & 0xFFFFu, data & 0xFFFFu}),
           wait);
}

void ContextHelp::ShowPopup(uint32_t topic) {
    HelpPopupRequest request;
    request.popupFile = kTextPopupFile;
    request.topicId = topic;
    request.position = m_desktop.CursorPosition();
    request.textColor = kPopupTextColor;
    request.backgroundColor = kPopupBackgroundColor;
    // A popup that cannot be shown shows nothing.
    if (EnsureLoaded())
        m_viewer.ShowPopup(request);
}

void ContextHelp::Report(const std::string& text, WaitCursor& wait) {
    wait.End();
    m_messageBoxes.MessageBox(text, LoadResourceString(IDS_APPLICATION_NAME), MB_OK);
}

namespace {

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// For a ".topic N" line: true, with `number` set when N is a number that
// fits 32 bits (a symbolic name starts a topic no number finds).
bool ReadTopicLine(std::string_view line, std::optional<uint32_t>& number) {
    constexpr std::string_view kKeyword = ".topic";
    if (!line.starts_with(kKeyword) || line.size() == kKeyword.size() ||
        (line[kKeyword.size()] != ' ' && line[kKeyword.size()] != '\t'))
        return false;
    line.remove_prefix(kKeyword.size());
    const size_t start = line.find_first_not_of(" \t");
    line = start == std::string_view::npos ? std::string_view() : line.substr(start);
    line = line.substr(0, line.find_first_of(" \t"));
    int base = 10;
    if (line.size() > 2 && line[0] == '0' && (line[1] == 'x' || line[1] == 'X')) {
        line.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value, base);
    number.reset();
    if (!line.empty() && error == std::errc() && end == line.data() + line.size())
        number = value;
    return true;
}

} // namespace

std::optional<std::string> FindTextPopup(std::string_view file, uint32_t topic) {
    if (file.starts_with("\xEF\xBB\xBF"))
        file.remove_prefix(3);
    std::vector<std::string_view> lines;
    bool found = false;
    size_t position = 0;
    while (position < file.size()) {
        size_t end = file.find('\n', position);
        if (end == std::string_view::npos)
            end = file.size();
        std::string_view line = file.substr(position, end - position);
        position = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        std::optional<uint32_t> number;
        if (ReadTopicLine(line, number)) {
            if (found)
                break;
            found = number == topic;
        } else if (found) {
            lines.push_back(line);
        }
    }
    if (!found)
        return std::nullopt;
    while (!lines.empty() && IsBlank(lines.back()))
        lines.pop_back();
    auto first = std::find_if(lines.begin(), lines.end(),
                              [](std::string_view line) { return !IsBlank(line); });
    std::string text;
    for (auto line = first; line != lines.end(); ++line) {
        if (line != first)
            text.push_back('\n');
        text.append(*line);
    }
    return text;
}

} // namespace kelvane
