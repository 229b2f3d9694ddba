// SPDX-License-Identifier: MIT
#include "ui/qt/qt_context_help.h"

#include "platform/process/executable_path.h"

#include <utility>

namespace kelvane {

QtContextHelp::QtContextHelp(HelpViewer& viewer, MessageBoxService& messageBoxes,
                             std::string helpFile)
    : m_help(helpFile.empty() ? ProgramFilePath("qch") : std::move(helpFile), viewer, m_desktop,
             messageBoxes) {}

} // namespace kelvane
