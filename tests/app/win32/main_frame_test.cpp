// SPDX-License-Identifier: MIT
// kelvane.exe driven from outside, as a user would: started on a copy of
// the demo, commands posted to its window, its dialogs and message boxes
// read and answered through their controls.
#include "app/app_with_fakes.h"
#include "platform/process/executable_path.h"
#include "platform/text/windows_text.h"
#include "res/command_ids.h"
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"
#include "test_files.h"
#include "view/summary_drawing.h"

#include "ui/win32/windows_api.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace kelvane::test {
namespace {

using namespace std::chrono_literals;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// WM_GETTEXT itself: for another process's control GetWindowText gives
// only the text it was created with.
std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

// Polls `found` for up to ten seconds.
HWND WaitFor(const std::function<HWND()>& found) {
    for (auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(50ms))
        if (HWND window = found())
            return window;
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& done) {
    return WaitFor([&] { return done() ? GetDesktopWindow() : nullptr; }) != nullptr;
}

// kelvane.exe on a project of its own, ended with the test. The program's
// folder may be another one than the build's, with a module table of its own.
class RunningProgram {
public:
    RunningProgram(const std::string& programFolder, const std::string& argument) {
        std::wstring command = L"\"" + WidePath(programFolder + "\\kelvane.exe") + L"\"";
        if (!argument.empty())
            command += L" \"" + WidePath(argument) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &m_process)) {
            CloseHandle(m_process.hThread);
            m_frame = WaitFor([this] { return TopWindow(L"CMainFrame"); });
        }
    }
    ~RunningProgram() {
        if (m_process.hProcess == nullptr)
            return;
        TerminateProcess(m_process.hProcess, 0);
        WaitForSingleObject(m_process.hProcess, 5000);
        CloseHandle(m_process.hProcess);
    }

    HWND Frame() const { return m_frame; }
    HWND View() const { return FindWindowExW(m_frame, nullptr, L"CKLVN_MAINView", nullptr); }
    HWND ToolBar() const { return FindWindowExW(m_frame, nullptr, TOOLBARCLASSNAMEW, nullptr); }
    void Command(uint32_t id) const { PostMessageW(m_frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Exited() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0; }

    // The program's enabled top-level window of a class: its modal dialog
    // or message box.
    HWND TopWindow(const wchar_t* className) const {
        struct Search {
            DWORD process;
            const wchar_t* className;
            HWND found;
        } search{m_process.dwProcessId, className, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& search = *reinterpret_cast<Search*>(data);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == search.process && IsWindowVisible(window) &&
                    IsWindowEnabled(window) && ClassOf(window) == search.className) {
                    search.found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForDialog() const {
        return WaitFor([this] { return TopWindow(L"#32770"); });
    }
    // Presses a button of the box or dialog shown, as a click does.
    static void Press(HWND dialog, int button) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    }
    // The text of a message box: its one static with a text.
    static std::wstring MessageText(HWND box) {
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == L"Static" && !TextOf(child).empty())
                return TextOf(child);
        return {};
    }

private:
    PROCESS_INFORMATION m_process{};
    HWND m_frame = nullptr;
};

std::string ProgramFolder() {
    return ExecutableFolder();
}

// A copy of the demo project in a folder of the test's.
std::string CopyDemo(const TempFolder& folder) {
    for (const char* kind : {"fsp", "fsr", "uer", "sbu", "mcr"})
        WriteBytes(folder.File(std::string("demo.") + kind),
                   ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + kind));
    return folder.File("demo.fsp");
}

// What the core shows for the project, loaded as the program loads it.
std::wstring CoreSummary(const std::string& project) {
    AppWithFakes<> core;
    core.app.LoadProject(project);
    std::string lines;
    for (const std::string& line : SummaryLines(SummaryDrawing(core.app.Settings())))
        lines += line + "\r\n";
    return WidePath(lines);
}

bool ToolbarButtonEnabled(const RunningProgram& program, uint32_t command) {
    return SendMessageW(program.ToolBar(), TB_ISBUTTONENABLED, command, 0) != 0;
}

TEST(Win32Frame, ShowsTheCoresSummaryAndEnablesTheProjectCommandsOnlyWithAProject) {
    TempFolder folder;
    const std::string project = CopyDemo(folder);
    {
        RunningProgram program(ProgramFolder(), project);
        ASSERT_NE(program.Frame(), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(program.View()).size() > 0; }));
        EXPECT_EQ(TextOf(program.View()), CoreSummary(project));
        EXPECT_NE(TextOf(program.View()).find(L"[SYNC] MCR file: demo.mcr"), std::wstring::npos);
        EXPECT_EQ(TextOf(program.Frame()), L"Kelvane");
        for (uint32_t command :
             {ID_PROJECT_OPEN, ID_PROJECT_SAVE, ID_FILE_MODEL_SETTING, ID_COMM_SETTING, ID_HELP})
            EXPECT_TRUE(ToolbarButtonEnabled(program, command)) << command;
    }
    RunningProgram empty(ProgramFolder(), "");
    ASSERT_NE(empty.Frame(), nullptr);
    EXPECT_EQ(TextOf(empty.View()), L"");
    EXPECT_TRUE(ToolbarButtonEnabled(empty, ID_PROJECT_OPEN));
    for (uint32_t command : {ID_PROJECT_SAVE, ID_FILE_MODEL_SETTING, ID_COMM_SETTING})
        EXPECT_FALSE(ToolbarButtonEnabled(empty, command)) << command;
    // A command that is disabled does nothing when it arrives anyway.
    empty.Command(ID_COMM_SETTING);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(empty.TopWindow(L"#32770"), nullptr);
}

// The window class the dialog manager makes for each kind of control.
std::wstring ClassOfKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Icon:
        return L"Static";
    case ControlKind::Edit:
        return L"Edit";
    case ControlKind::ListBox:
        return L"ListBox";
    case ControlKind::ComboBox:
        return L"ComboBox";
    default:
        return L"Button";
    }
}

TEST(Win32Frame, EachDialogOpensWithItsTemplatesControlsAndCancelChangesNothing) {
    TempFolder folder;
    const std::string project = CopyDemo(folder);
    RunningProgram program(ProgramFolder(), project);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.View()).size() > 0; }));
    const struct {
        uint32_t command;
        unsigned templateId;
        int closeWith;
    } dialogs[] = {{ID_COMM_SETTING, IDD_COMM_SETTING, IDCANCEL},
                   {ID_FILE_MODEL_SETTING, IDD_FILE_MODEL_SETTING, IDCANCEL},
                   {ID_APP_ABOUT, IDD_ABOUTBOX, IDOK}};
    for (const auto& expected : dialogs) {
        SCOPED_TRACE(expected.templateId);
        const DialogTemplate* dialogTemplate =
            FindDialogTemplate(expected.templateId, ResourceLanguage::English);
        ASSERT_NE(dialogTemplate, nullptr);
        program.Command(expected.command);
        HWND dialog = program.WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(TextOf(dialog), WideFromUtf8(dialogTemplate->title));
        EXPECT_EQ((GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) != 0,
                  dialogTemplate->contextHelpButton);
        for (const DialogControl& control : dialogTemplate->controls) {
            if (control.id == IDC_STATIC)
                continue;
            HWND item = GetDlgItem(dialog, control.id);
            ASSERT_NE(item, nullptr) << control.id;
            EXPECT_EQ(ClassOf(item), ClassOfKind(control.kind)) << control.id;
            EXPECT_EQ((GetWindowLongW(item, GWL_STYLE) & WS_TABSTOP) != 0,
                      (control.style & WS_TABSTOP) != 0)
                << control.id;
        }
        if (expected.templateId == IDD_COMM_SETTING) {
            // Filled from the project: the demo reaches its ICE over Ethernet.
            AppWithFakes<> core;
            core.app.LoadProject(project);
            EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_IP_ADDRESS)),
                      WidePath(core.app.Settings().m_strIpAddress));
            EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PORT)),
                      WidePath(core.app.Settings().m_strPort));
            EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_ETHER), BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_USB_DEVICE)));
            SetWindowTextW(GetDlgItem(dialog, IDC_IP_ADDRESS), L"10.9.8.7");
            // F1 on a field shows its popup from the help beside the program.
            constexpr UINT kKeyF1 = 0x004D;
            PostMessageW(GetDlgItem(dialog, IDC_IP_ADDRESS), kKeyF1, 0, 0);
            HWND popup = WaitFor([&] { return program.TopWindow(L"KelvaneTextPopup"); });
            ASSERT_NE(popup, nullptr);
            EXPECT_NE(TextOf(popup).find(L"The IP address of the ICE"), std::wstring::npos);
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup); }));
        }
        if (expected.templateId == IDD_ABOUTBOX) {
            EXPECT_NE(TextOf(GetDlgItem(dialog, IDC_VERSION)).find(L"Kelvane Version 7.02"),
                      std::wstring::npos);
        }
        RunningProgram::Press(dialog, expected.closeWith);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
    EXPECT_EQ(TextOf(program.Frame()), L"Kelvane");
    EXPECT_EQ(ReadBytes(project), ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo.fsp"));
}

TEST(Win32Frame, OkMarksTheProjectModifiedAndSaveWritesIt) {
    TempFolder folder;
    const std::string project = CopyDemo(folder);
    RunningProgram program(ProgramFolder(), project);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.View()).size() > 0; }));
    program.Command(ID_COMM_SETTING);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    SetWindowTextW(GetDlgItem(dialog, IDC_IP_ADDRESS), L"10.9.8.7");
    RunningProgram::Press(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.Frame()) == L"Kelvane*"; }));
    EXPECT_EQ(ReadBytes(project), ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo.fsp"));

    // The save asks before it writes over the project file.
    program.Command(ID_PROJECT_SAVE);
    HWND question = program.WaitForDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(RunningProgram::MessageText(question).find(L"Overwrite"), std::wstring::npos);
    RunningProgram::Press(question, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.Frame()) == L"Kelvane"; }));
    EXPECT_NE(ReadBytes(project).find("10.9.8.7"), std::string::npos);
}

constexpr uint32_t kNovaToMax = 2001;

// The build's module table converts with the sample module, in its host.
TEST(Win32Frame, AConversionRunsThroughTheModuleHostAndMarksTheProjectModified) {
    TempFolder folder;
    const std::string project = CopyDemo(folder);
    RunningProgram program(ProgramFolder(), project);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.View()).size() > 0; }));
    program.Command(kNovaToMax);
    HWND question = program.WaitForDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(RunningProgram::MessageText(question).find(L"to talvexMAX format"),
              std::wstring::npos);
    RunningProgram::Press(question, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    // Every box the conversion shows is answered until the project is MAX.
    ASSERT_TRUE(WaitUntil([&] {
        if (HWND box = program.TopWindow(L"#32770"))
            RunningProgram::Press(box, IDOK);
        return TextOf(program.View()).find(L"Target system: talvexMAX") != std::wstring::npos;
    }));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(program.Frame()) == L"Kelvane*"; }));
}

TEST(Win32Frame, ACrashingModuleIsReportedAndTheWindowLivesOn) {
    // The program in a folder of its own, whose module table names a module
    // that crashes.
    TempFolder bin, data;
    for (const char* file : {"kelvane.exe", "kelvane-module-host64.exe", "kelvane_test_crash.dll"})
        WriteBytes(bin.File(file), ReadBytes(ProgramFolder() + "\\" + file));
    WriteBytes(bin.File("kelvane.ini"), "KV, kelvane_test_crash\n");
    const std::string project = CopyDemo(data);
    RunningProgram program(bin.Path(), project);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(program.View()).size() > 0; }));
    const std::wstring before = TextOf(program.View());

    program.Command(kNovaToMax);
    HWND question = program.WaitForDialog();
    ASSERT_NE(question, nullptr);
    RunningProgram::Press(question, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    HWND report = program.WaitForDialog();
    ASSERT_NE(report, nullptr);
    EXPECT_NE(RunningProgram::MessageText(report).find(L"crashed"), std::wstring::npos)
        << ProjectFromWide(RunningProgram::MessageText(report));
    RunningProgram::Press(report, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(report); }));
    EXPECT_FALSE(program.Exited());
    EXPECT_EQ(TextOf(program.View()), before);
    EXPECT_EQ(TextOf(program.Frame()), L"Kelvane");
    // Still answering commands.
    program.Command(ID_APP_ABOUT);
    HWND about = program.WaitForDialog();
    ASSERT_NE(about, nullptr);
    RunningProgram::Press(about, IDOK);
}

} // namespace
} // namespace kelvane::test
