// SPDX-License-Identifier: MIT
#include "ui/win32/text_popup.h"

#include "platform/text/windows_text.h"

#include <algorithm>
#include <memory>

namespace kelvane {
namespace {

constexpr const wchar_t* kPopupClass = L"KelvaneTextPopup";
constexpr int kDefaultMargin = 6;
constexpr int kMaximumWidth = 360;

struct PopupState {
    std::wstring text;
    RECT margins{};
    COLORREF textColor = 0;
    HBRUSH background = nullptr;
    HFONT font = nullptr;
    ~PopupState() {
        DeleteObject(background);
        DeleteObject(font);
    }
};

int MarginOr(int margin) {
    return margin < 0 ? kDefaultMargin : margin;
}

HFONT PopupFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<PopupState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        FillRect(dc, &area, state->background);
        FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        area.left += state->margins.left;
        area.top += state->margins.top;
        area.right -= state->margins.right;
        area.bottom -= state->margins.bottom;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, state->textColor);
        HGDIOBJ previous = SelectObject(dc, state->font);
        DrawTextW(dc, state->text.c_str(), static_cast<int>(state->text.size()), &area,
                  DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, previous);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        DestroyWindow(window);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            DestroyWindow(window);
        return 0;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterPopupClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PopupProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kPopupClass;
        windowClass.style = CS_DROPSHADOW;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

HWND ShowTextPopup(const std::string& text, const HelpPopupRequest& request) {
    RegisterPopupClass();
    auto state = std::make_unique<PopupState>();
    state->text = WideFromUtf8(text);
    state->margins = {MarginOr(request.marginLeft), MarginOr(request.marginTop),
                      MarginOr(request.marginRight), MarginOr(request.marginBottom)};
    // Help colours are 0x00BBGGRR, as COLORREF is.
    state->textColor = request.textColor;
    state->background = CreateSolidBrush(request.backgroundColor);
    state->font = PopupFont();

    // The size the wrapped text needs.
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, state->font);
    RECT textArea{0, 0, kMaximumWidth, 0};
    DrawTextW(screen, state->text.c_str(), static_cast<int>(state->text.size()), &textArea,
              DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const int width = textArea.right + state->margins.left + state->margins.right;
    const int height = textArea.bottom + state->margins.top + state->margins.bottom;

    POINT topLeft{request.position.x, request.position.y};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromPoint(topLeft, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        topLeft.x = std::max(work.left, std::min(topLeft.x, work.right - width));
        topLeft.y = std::max(work.top, std::min(topLeft.y, work.bottom - height));
    }
    // The window's text is the popup's, for screen readers.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass,
                                  state->text.c_str(), WS_POPUP, topLeft.x, topLeft.y, width,
                                  height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr)
        return nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return window;
}

} // namespace kelvane
