// SPDX-License-Identifier: MIT
#include "ui/win32/win32_message_boxes.h"

#include "platform/text/windows_text.h"
#include "ui/win32/win32_dialog_runner.h"

namespace kelvane {
namespace {

// Boxes shown without a caption of their own carry the application's name.
constexpr const char* kApplicationName = "KLVN_MAIN";

std::wstring CaptionOf(const std::string& caption) {
    return WidePath(caption.empty() ? kApplicationName : caption);
}

// Custom buttons are numbered from here, clear of IDOK..IDCONTINUE.
constexpr int kFirstQuestionButton = 100;

} // namespace

int Win32MessageBoxes::MessageBox(const std::string& text, const std::string& caption,
                                  unsigned style) {
    const int pressed = MessageBoxW(ActiveOwner(m_owner), WidePath(text).c_str(),
                                    CaptionOf(caption).c_str(), style);
    // The answers are the platform's: IDOK, IDCANCEL, IDYES, IDNO.
    return pressed == 0 ? IDCANCEL : pressed;
}

size_t Win32MessageBoxes::AskQuestion(const std::string& text, const std::string& caption,
                                      unsigned style, const std::vector<std::string>& buttons,
                                      size_t defaultButton, size_t escapeButton) {
    std::vector<std::wstring> labels;
    for (const std::string& label : buttons)
        labels.push_back(WidePath(label));
    std::vector<TASKDIALOG_BUTTON> taskButtons;
    for (size_t i = 0; i < labels.size(); ++i)
        taskButtons.push_back({kFirstQuestionButton + static_cast<int>(i), labels[i].c_str()});
    const std::wstring wideText = WidePath(text), wideCaption = CaptionOf(caption);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = ActiveOwner(m_owner);
    // Escape and the close button answer the escape button.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = wideCaption.c_str();
    config.pszContent = wideText.c_str();
    if ((style & 0xF0) == MB_ICONEXCLAMATION)
        config.pszMainIcon = TD_WARNING_ICON;
    else if ((style & 0xF0) == MB_ICONINFORMATION)
        config.pszMainIcon = TD_INFORMATION_ICON;
    config.cButtons = static_cast<UINT>(taskButtons.size());
    config.pButtons = taskButtons.data();
    config.nDefaultButton = kFirstQuestionButton + static_cast<int>(defaultButton);
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)))
        return escapeButton;
    const int index = pressed - kFirstQuestionButton;
    return index >= 0 && static_cast<size_t>(index) < buttons.size() ? static_cast<size_t>(index)
                                                                     : escapeButton;
}

} // namespace kelvane
