// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"
#include "platform/desktop/message_box.h"
#include "ui/context_help.h"
#include "ui/qt/qt_help_desktop.h"

#include <string>

namespace kelvane {

// The program's context help on the Qt desktop, in one piece for the
// desktop front: the main window forwards its help requests to WinHelp
// (command 32773 as WinHelp(0x20080, HELP_CONTEXT)), the dialogs their F1
// and What's This requests to OnHelpInfo. `viewer` shows what is asked.
class QtContextHelp {
public:
    // `helpFile` defaults to kelvane.qch beside the program.
    QtContextHelp(HelpViewer& viewer, MessageBoxService& messageBoxes, std::string helpFile = {});

    void WinHelp(uint32_t data, uint32_t command) { m_help.WinHelp(data, command); }
    bool OnHelpInfo(int controlId) { return m_help.OnHelpInfo(controlId); }

    ContextHelp& Help() { return m_help; }

private:
    QtHelpDesktop m_desktop;
    ContextHelp m_help;
};

} // namespace kelvane
