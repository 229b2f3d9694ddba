// SPDX-License-Identifier: MIT
// kelvane.exe: the desktop program on Windows.
#include "app/klvn_main_app.h"
#include "app/win32/frame_repaint.h"
#include "app/win32/main_frame.h"
#include "convert/module_probe_store.h"
#include "platform/files/absolute_path.h"
#include "platform/files/file_reader.h"
#include "platform/process/executable_path.h"
#include "platform/registry/registry_profile.h"
#include "platform/text/windows_text.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "ui/context_help.h"
#include "ui/win32/browser_help_viewer.h"
#include "ui/win32/win32_dialog_runner.h"
#include "ui/win32/win32_file_dialogs.h"
#include "ui/win32/win32_help_desktop.h"
#include "ui/win32/win32_message_boxes.h"
#include "ui/win32/win32_wait_indicator.h"

#include "ui/win32/windows_api.h"

#include <cstdlib>
#include <string>

namespace {

// The first argument of the command line, in the project code page; empty
// when there is none. Only the first is used.
std::string FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string first;
    if (arguments != nullptr && count > 1)
        first = kelvane::ProjectFromWide(arguments[1]);
    LocalFree(arguments);
    return first;
}

bool CanOpenForReading(const std::string& path) {
    kelvane::FileReader reader;
    return reader.Open(path);
}

int RunMessageLoop(const kelvane::CMainFrame& frame) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(frame.Window(), frame.Accelerators(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The FSR file records the project's path: never a relative one.
    const std::string nativeArgument = FirstArgument();
    const std::string firstArgument =
        nativeArgument.empty() ? std::string() : kelvane::AbsolutePath(nativeArgument);

    kelvane::UseStoredModuleProbes(true);
    kelvane::RegistryProfile profile;
    kelvane::Win32MessageBoxes messageBoxes;
    kelvane::Win32FileDialogs fileDialogs;
    kelvane::FrameRepaint repaint;
    kelvane::Win32DialogRunner dialogs;
    kelvane::Win32WaitIndicator wait;
    kelvane::CKLVN_MAINApp app({messageBoxes, fileDialogs, repaint, profile, dialogs},
                               kelvane::ProgramFilePath("ini"));
    app.SetWaitIndicator(wait);
    kelvane::BrowserHelpViewer helpViewer;
    kelvane::Win32HelpDesktop helpDesktop;
    kelvane::ContextHelp help(kelvane::ExecutableFolder() + "\\help", helpViewer, helpDesktop,
                              messageBoxes);

    kelvane::CMainFrame frame(app);
    if (!frame.Create())
        return EXIT_FAILURE;
    HWND window = frame.Window();
    // Every help request, the dialogs' too, ends in the main window's entry.
    frame.SetHelpHandler([&help](uint32_t data, uint32_t command) { help.WinHelp(data, command); });
    app.SetHelpHandler([&frame](uint32_t data, uint32_t command) { frame.WinHelp(data, command); });
    helpViewer.SetOwner(window);
    helpDesktop.SetMainWindow(window);
    messageBoxes.SetOwner(window);
    fileDialogs.SetOwner(window);
    dialogs.SetOwner(window);
    repaint.Attach(&frame);
    wait.SetNoteHandler([&frame](const std::string& note) { frame.ShowNote(note); });
    frame.SetWaitIndicator(&wait);

    if (!firstArgument.empty() && !CanOpenForReading(firstArgument)) {
        messageBoxes.MessageBox(
            kelvane::FormatResourceString(kelvane::IDS_CANNOT_OPEN_ARGUMENT, {firstArgument}), "",
            kelvane::MB_OK | kelvane::MB_ICONEXCLAMATION);
        return EXIT_FAILURE;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (!firstArgument.empty())
        app.OpenProjectPath(firstArgument);
    return RunMessageLoop(frame);
}
