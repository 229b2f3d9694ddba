// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_desktop.h"
#include "platform/desktop/help_viewer.h"
#include "platform/desktop/message_box.h"
#include "res/format_printf.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The framework's help command numbers that WinHelp understands.
enum HelpCommand : uint32_t {
    HELP_CONTEXT = 1,
    HELP_CONTENTS = 3,
    HELP_HELPONHELP = 4,
    HELP_FINDER = 11,
    HELP_POPUP = 14,
};

// Context ids: a base in the high half, a resource or control id in the low.
inline constexpr uint32_t kHelpContextResourceBase = 0x20000; // main window: 0x20080
inline constexpr uint32_t kHelpContextControlBase = 0x50000;  // parents under the cursor

// The text-popup file inside the help file, numbered by control ids.
inline constexpr const char* kTextPopupFile = "KLVN_MAIN_pop.txt";
inline constexpr uint32_t kPopupTextColor = HelpColor(0, 0, 0);
inline constexpr uint32_t kPopupBackgroundColor = HelpColor(0xFF, 0xFF, 0xD0);

// The main window's help entry: every help request of the program ends here.
// The help engine is loaded on the first request that passes the file check;
// when that fails it is not tried again during the run.
class ContextHelp {
public:
    ContextHelp(std::string helpFile, HelpViewer& viewer, HelpDesktop& desktop,
                MessageBoxService& messageBoxes);

    // `command` is one of HelpCommand; any other does nothing after the
    // check that the help file exists.
    void WinHelp(uint32_t data, uint32_t command);

    // A dialog's help request on a control (F1, What's This): the control's
    // popup. False, and nothing shown, for no particular control (id <= 0),
    // which the dialog leaves to its default handling.
    bool OnHelpInfo(int controlId);

    const std::string& HelpFile() const { return m_helpFile; }
    bool LoadFailed() const { return m_loadFailed; }

private:
    class WaitCursor;

    bool EnsureLoaded();
    bool ShowTopic(uint32_t contextId);
    void ShowContext(uint32_t data, WaitCursor& wait);
    void ShowPopup(uint32_t topic);
    void Report(const std::string& text, WaitCursor& wait);

    std::string m_helpFile;
    HelpViewer& m_viewer;
    HelpDesktop& m_desktop;
    MessageBoxService& m_messageBoxes;
    bool m_loaded = false;
    bool m_loadFailed = false;
};

// The text of topic `topic` in a text-popup file. Each line ".topic N"
// (N decimal or 0x hexadecimal) starts a topic that runs to the next such
// line; blank lines around the text are dropped. Nothing when the file has
// no topic N.
std::optional<std::string> FindTextPopup(std::string_view file, uint32_t topic);

} // namespace kelvane
