// SPDX-License-Identifier: MIT
#pragma once

#include "app/klvn_main_app.h"

#include "ui/win32/windows_api.h"

#include <functional>
#include <memory>
#include <string>

namespace kelvane {

class CKLVN_MAINView;
class Win32WaitIndicator;

// The main window: menu, accelerators and toolbar built from the resource
// tables, every command routed to the application's command table and
// enabled only by its rules; the summary view as client area; dropped files.
class CMainFrame {
public:
    explicit CMainFrame(CKLVN_MAINApp& app);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // False when the window or its toolbar could not be made.
    bool Create();
    HWND Window() const { return m_window; }
    HACCEL Accelerators() const { return m_accelerators; }

    // Runs a command as the menu, an accelerator or the toolbar does:
    // nothing when its enabling rule says no.
    void Dispatch(uint32_t commandId);
    // Asks every command's enabling rule again; the title shows a modified
    // project with "*".
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
    void SetWaitIndicator(const Win32WaitIndicator* wait) { m_wait = wait; }
    // A line under the summary while a wait lasts; empty ends it.
    void ShowNote(const std::string& note);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HMENU BuildMenu() const;
    void BuildAccelerators();
    bool BuildToolBar();
    void Layout();
    // The status line: the note while a wait lasts, else the code page of
    // the open project; hidden with neither.
    void UpdateStatusLine();
    void OnDropFiles(HDROP drop);
    bool Waiting() const;

    CKLVN_MAINApp& m_app;
    HWND m_window = nullptr;
    HWND m_toolBar = nullptr;
    HWND m_note = nullptr; // the status line
    std::string m_strNote;
    HIMAGELIST m_images = nullptr;
    HACCEL m_accelerators = nullptr;
    std::unique_ptr<CKLVN_MAINView> m_view;
    std::function<void(uint32_t, uint32_t)> m_help;
    const Win32WaitIndicator* m_wait = nullptr;
};

} // namespace kelvane
