// SPDX-License-Identifier: MIT
#pragma once

#include "platform/message_box.h"
#include "ui/context_help.h"
#include "ui/qt/qt_help_desktop.h"
#include "ui/qt/qt_help_viewer.h"

#include <string>

class QWidget;

namespace kelvane {

// The program's context help over Qt Help, in one piece for the desktop
// front: the main window forwards its help requests to WinHelp (command
// 32773 as WinHelp(0x20080, HELP_CONTEXT)), the dialogs their F1 and
// What's This requests to OnHelpInfo.
class QtContextHelp {
public:
    // `helpFile` defaults to kelvane.qch beside the program.
    explicit QtContextHelp(MessageBoxService& messageBoxes, std::string helpFile = {});

    // The topic window stays above `owner` (the main window).
    void SetOwner(QWidget* owner) { m_viewer.SetOwner(owner); }

    void WinHelp(uint32_t data, uint32_t command) { m_help.WinHelp(data, command); }
    bool OnHelpInfo(int controlId) { return m_help.OnHelpInfo(controlId); }

    ContextHelp& Help() { return m_help; }
    QtHelpViewer& Viewer() { return m_viewer; }

private:
    QtHelpViewer m_viewer;
    QtHelpDesktop m_desktop;
    ContextHelp m_help;
};

} // namespace kelvane
