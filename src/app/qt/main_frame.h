// SPDX-License-Identifier: MIT
#pragma once

#include "app/klvn_main_app.h"

#include <QMainWindow>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QToolBar;

namespace kelvane {

class CKLVN_MAINView;
class QtWaitIndicator;

// The main window: menu, accelerators and toolbar built from the resource
// tables, every command routed to the application's command table and
// enabled only by its rules; the summary view as client area; dropped files.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CKLVN_MAINApp& app, QWidget* parent = nullptr);

    // Runs a command as the menu, an accelerator or the toolbar does:
    // nothing when its enabling rule says no.
    void Dispatch(uint32_t commandId);
    // Asks every command's enabling rule again.
    void UpdateCommandStates();
    // Draws the summary again and refreshes the commands.
    void Repaint();

    // Where help requests go (command 32773 sends context 0x20080).
    void SetHelpHandler(std::function<void(uint32_t data, uint32_t command)> handler) {
        m_help = std::move(handler);
    }
    void WinHelp(uint32_t data, uint32_t command);

    // While it waits (a conversion module at work), commands, drops and
    // closing the window are refused.
    void SetWaitIndicator(const QtWaitIndicator* wait) { m_wait = wait; }

    QAction* Action(uint32_t commandId) const;
    CKLVN_MAINView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(uint32_t commandId, const QString& text);
    void BuildMenu();
    void BuildAccelerators();
    void BuildToolBar();
    void OnDropFiles(const QStringList& paths);
    void UpdateStatusBar();
    bool Waiting() const;

    CKLVN_MAINApp& m_app;
    CKLVN_MAINView* m_view;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_codePage = nullptr;
    std::map<uint32_t, QAction*> m_actions;
    std::function<void(uint32_t, uint32_t)> m_help;
    const QtWaitIndicator* m_wait = nullptr;
};

} // namespace kelvane
