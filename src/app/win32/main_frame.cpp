// SPDX-License-Identifier: MIT
#include "app/win32/main_frame.h"

#include "app/about_dlg.h"
#include "convert/conversion_commands.h"
#include "platform/text/windows_text.h"
#include "res/command_ids.h"
#include "res/menu_resources.h"
#include "ui/win32/template_dialog.h"
#include "ui/win32/win32_wait_indicator.h"
#include "view/win32/summary_view.h"

#include <vector>

namespace kelvane {
namespace {

constexpr const wchar_t* kFrameClass = L"CMainFrame";
// The main window's context id: the help context base plus its resource id.
constexpr uint32_t kMainWindowHelpContext = 0x20000 + IDR_MAINFRAME;
constexpr uint32_t kHelpContextCommand = 1;
constexpr int kToolbarImageSize = 16;

// Caption, system menu, sizing border and minimise box: no maximise box.
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Every command a menu item, accelerator or button carries.
std::vector<uint32_t> AllCommandIds() {
    std::vector<uint32_t> ids;
    for (const MenuEntry& entry : MainMenu())
        if (entry.kind == MenuEntry::Item || entry.kind == MenuEntry::CheckItem)
            ids.push_back(entry.commandId);
    for (const ConversionCommand& command : ConversionCommands())
        ids.push_back(command.commandId);
    return ids;
}

} // namespace

CMainFrame::CMainFrame(CKLVN_MAINApp& app) : m_app(app) {}

CMainFrame::~CMainFrame() {
    if (IsWindow(m_window))
        DestroyWindow(m_window);
    if (m_accelerators != nullptr)
        DestroyAcceleratorTable(m_accelerators);
    if (m_images != nullptr)
        ImageList_Destroy(m_images);
}

bool CMainFrame::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &CMainFrame::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.lpszClassName = kFrameClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    m_window = CreateWindowExW(0, kFrameClass, WideFromUtf8(MainWindowTitle()).c_str(), kFrameStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, 600, 300, nullptr, BuildMenu(),
                               windowClass.hInstance, this);
    if (m_window == nullptr)
        return false;
    SetPropW(m_window, kControlIdProperty, reinterpret_cast<HANDLE>(uintptr_t{IDR_MAINFRAME}));
    if (!BuildToolBar())
        return false;
    BuildAccelerators();
    m_view = std::make_unique<CKLVN_MAINView>(m_app.Settings(), m_window);
    DragAcceptFiles(m_window, TRUE);
    Layout();
    m_view->Update();
    UpdateCommandStates();
    return true;
}

HMENU CMainFrame::BuildMenu() const {
    HMENU bar = CreateMenu();
    std::vector<HMENU> open{bar};
    for (const MenuEntry& entry : MainMenu()) {
        switch (entry.kind) {
        case MenuEntry::PopupBegin: {
            HMENU popup = CreatePopupMenu();
            AppendMenuW(open.back(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        WideFromUtf8(entry.text).c_str());
            open.push_back(popup);
            break;
        }
        case MenuEntry::PopupEnd:
            open.pop_back();
            break;
        case MenuEntry::Separator:
            AppendMenuW(open.back(), MF_SEPARATOR, 0, nullptr);
            break;
        case MenuEntry::Item:
        case MenuEntry::CheckItem:
            AppendMenuW(open.back(), MF_STRING, entry.commandId, WideFromUtf8(entry.text).c_str());
            break;
        case MenuEntry::ConversionItems:
            for (const ConversionCommand& command : ConversionCommands())
                AppendMenuW(open.back(), MF_STRING, command.commandId,
                            WideFromUtf8(ConversionMenuText(command)).c_str());
            break;
        }
    }
    return bar;
}

void CMainFrame::BuildAccelerators() {
    std::vector<ACCEL> table;
    for (const AcceleratorEntry& entry : MainAccelerators())
        table.push_back({static_cast<BYTE>(entry.flags | FVIRTKEY), static_cast<WORD>(entry.key),
                         static_cast<WORD>(entry.commandId)});
    for (const ConversionCommand& command : ConversionCommands())
        table.push_back({static_cast<BYTE>(kConversionAcceleratorFlags),
                         static_cast<WORD>(command.acceleratorKey),
                         static_cast<WORD>(command.commandId)});
    m_accelerators = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

bool CMainFrame::BuildToolBar() {
    m_toolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                                0, 0, 0, 0, m_window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_toolBar == nullptr)
        return false;
    SendMessageW(m_toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    m_images = ImageList_Create(kToolbarImageSize, kToolbarImageSize, ILC_COLOR32 | ILC_MASK, 8, 0);
    std::vector<TBBUTTON> buttons;
    for (const ToolbarEntry& entry : MainToolbar()) {
        TBBUTTON button{};
        if (entry.commandId == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            // Each button's picture is the icon resource of its command id.
            auto* icon = static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(entry.commandId), IMAGE_ICON,
                           kToolbarImageSize, kToolbarImageSize, 0));
            if (icon == nullptr)
                return false;
            button.iBitmap = ImageList_AddIcon(m_images, icon);
            DestroyIcon(icon);
            button.idCommand = static_cast<int>(entry.commandId);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    SendMessageW(m_toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
    SendMessageW(m_toolBar, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(m_toolBar, TB_AUTOSIZE, 0, 0);
    return true;
}

void CMainFrame::Layout() {
    RECT client;
    GetClientRect(m_window, &client);
    SendMessageW(m_toolBar, TB_AUTOSIZE, 0, 0);
    RECT bar{};
    GetWindowRect(m_toolBar, &bar);
    const int top = bar.bottom - bar.top;
    int bottom = client.bottom;
    if (m_note != nullptr && IsWindowVisible(m_note)) {
        SendMessageW(m_note, WM_SIZE, 0, 0);
        RECT note{};
        GetWindowRect(m_note, &note);
        bottom -= note.bottom - note.top;
    }
    if (m_view)
        MoveWindow(m_view->Window(), 0, top, client.right, std::max(0, bottom - top), TRUE);
}

void CMainFrame::ShowNote(const std::string& note) {
    m_strNote = note;
    UpdateStatusLine();
    UpdateWindow(m_window);
}

void CMainFrame::UpdateStatusLine() {
    // The note of a module at work, else the open project's code page.
    const std::string text = !m_strNote.empty()                  ? m_strNote
                             : m_app.Settings().m_bProjectLoaded ? m_app.CodePageLine()
                                                                 : std::string();
    if (m_note == nullptr && !text.empty())
        m_note = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD, 0, 0, 0, 0, m_window,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_note == nullptr)
        return;
    SetWindowTextW(m_note, WidePath(text).c_str());
    const bool shown = IsWindowVisible(m_note) != FALSE;
    if (shown != !text.empty()) {
        ShowWindow(m_note, text.empty() ? SW_HIDE : SW_SHOW);
        Layout();
    }
}

void CMainFrame::UpdateCommandStates() {
    HMENU menu = GetMenu(m_window);
    for (uint32_t commandId : AllCommandIds()) {
        const bool enabled = m_app.IsCommandEnabled(commandId);
        EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, commandId,
                      MF_BYCOMMAND |
                          (m_app.IsCommandChecked(commandId) ? MF_CHECKED : MF_UNCHECKED));
        SendMessageW(m_toolBar, TB_ENABLEBUTTON, commandId, MAKELONG(enabled ? TRUE : FALSE, 0));
    }
    // The title shows a modified project the way the Qt front does.
    std::string title = MainWindowTitle();
    if (m_app.IsModified())
        title += "*";
    const std::wstring wide = WideFromUtf8(title);
    wchar_t shown[256] = {};
    GetWindowTextW(m_window, shown, 256);
    if (wide != shown)
        SetWindowTextW(m_window, wide.c_str());
    UpdateStatusLine();
}

void CMainFrame::Repaint() {
    if (m_view)
        m_view->Update();
    UpdateCommandStates();
}

bool CMainFrame::Waiting() const {
    return m_wait != nullptr && m_wait->Waiting();
}

void CMainFrame::Dispatch(uint32_t commandId) {
    if (Waiting() || !m_app.IsCommandEnabled(commandId))
        return;
    switch (commandId) {
    case ID_APP_EXIT:
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        return;
    case ID_HELP:
        WinHelp(kMainWindowHelpContext, kHelpContextCommand);
        return;
    case ID_APP_ABOUT: {
        CAboutDlg about(m_app.Services().dialogs);
        about.DoModal();
        return;
    }
    default:
        break;
    }
    m_app.OnCommand(commandId);
    UpdateCommandStates();
}

void CMainFrame::WinHelp(uint32_t data, uint32_t command) {
    if (m_help)
        m_help(data, command);
}

void CMainFrame::OnDropFiles(HDROP drop) {
    // Two or more files open nothing and say nothing.
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::wstring path;
    if (count == 1) {
        path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    DragFinish(drop);
    if (count != 1 || Waiting())
        return;
    m_app.OpenProjectPath(ProjectFromWide(path));
    UpdateCommandStates();
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CMainFrame*>(create->lpCreateParams)->m_window = window;
    }
    auto* self = reinterpret_cast<CMainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Menus, accelerators and toolbar buttons alike.
        if (lParam == 0 || reinterpret_cast<HWND>(lParam) == m_toolBar)
            Dispatch(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        // Enabling is asked again each time a menu opens.
        UpdateCommandStates();
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            static std::wstring tooltip;
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            tooltip = WideFromUtf8(CommandTooltip(static_cast<uint32_t>(header->idFrom)));
            info->lpszText = tooltip.data();
            return 0;
        }
        break;
    }
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETCURSOR:
        if (Waiting()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        // A command still running must finish first; a modified project is
        // saved or given up only when the user says so.
        if (Waiting() || !m_app.SaveModified()) {
            UpdateCommandStates();
            return 0;
        }
        DestroyWindow(m_window);
        return 0;
    case WM_DESTROY:
        RemovePropW(m_window, kControlIdProperty);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace kelvane
