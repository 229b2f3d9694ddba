// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/file_dialog.h"
#include "platform/desktop/repaint.h"
#include "platform/process/wait_indicator.h"

#include <string>

namespace kelvane {

// The file dialog of the headless front: answers with the path given on
// the command line, or cancels when there is none.
class ScriptedFileDialog : public FileDialogService {
public:
    explicit ScriptedFileDialog(std::string answer = {}) : m_answer(std::move(answer)) {}
    bool ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;

private:
    std::string m_answer;
};

// Nothing to draw without a window.
class NoRepaint : public RepaintService {
public:
    void Repaint() override {}
};

// A wait has no cursor here; its note, when it has one, goes to standard
// error so that a slow first start does not look like a hang.
class ConsoleWaitNote : public WaitIndicator {
public:
    void BeginWait(const std::string& note) override;
    void KeepResponsive() override {}
    void EndWait() override {}
};

} // namespace kelvane
