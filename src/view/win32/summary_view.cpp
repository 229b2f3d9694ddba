// SPDX-License-Identifier: MIT
#include "view/win32/summary_view.h"

#include "platform/text/windows_text.h"
#include "view/summary_drawing.h"

#include <algorithm>
#include <vector>

namespace kelvane {
namespace {

constexpr const wchar_t* kViewClass = L"CKLVN_MAINView";

// The summary's font: FixedSys of 15 pixels in the Shift-JIS character set.
// Where that face lacks a character to draw (Wine has no such FixedSys),
// the next fixed-pitch face that has them all is taken.
struct FontChoice {
    const wchar_t* face;
    BYTE charset;
};
constexpr FontChoice kSummaryFonts[] = {
    {L"FixedSys", SHIFTJIS_CHARSET},   {L"MS Gothic", SHIFTJIS_CHARSET},
    {L"IPAGothic", SHIFTJIS_CHARSET},  {L"FixedSys", DEFAULT_CHARSET},
    {L"Courier New", DEFAULT_CHARSET},
};

HFONT MakeFont(const FontChoice& choice) {
    return CreateFontW(15, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, choice.charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, FIXED_PITCH,
                       choice.face);
}

bool DrawsEveryCharacter(HDC dc, const std::wstring& text) {
    std::vector<WORD> glyphs(text.size());
    if (text.empty())
        return true;
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return false;
    return std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

HFONT SummaryFont(HDC dc, const std::wstring& texts) {
    for (const FontChoice& choice : kSummaryFonts) {
        HFONT font = MakeFont(choice);
        HGDIOBJ previous = SelectObject(dc, font);
        const bool fits = DrawsEveryCharacter(dc, texts);
        SelectObject(dc, previous);
        if (fits)
            return font;
        DeleteObject(font);
    }
    return MakeFont(kSummaryFonts[0]);
}

} // namespace

CKLVN_MAINView::CKLVN_MAINView(const ProjectSettings& settings, HWND parent)
    : m_settings(settings) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &CKLVN_MAINView::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kViewClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        return;
    m_window = CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                               nullptr, GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK CKLVN_MAINView::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CKLVN_MAINView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT && self != nullptr) {
        self->m_window = window;
        self->Paint();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CKLVN_MAINView::Update() {
    std::string lines;
    for (const std::string& line : SummaryLines(SummaryDrawing(m_settings)))
        lines += line + "\r\n";
    SetWindowTextW(m_window, WidePath(lines).c_str());
    InvalidateRect(m_window, nullptr, TRUE);
}

void CKLVN_MAINView::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    const std::vector<SummaryText> drawing = SummaryDrawing(m_settings);
    std::vector<std::wstring> shown;
    std::wstring all;
    for (const SummaryText& text : drawing) {
        shown.push_back(WidePath(text.text));
        all += shown.back();
    }
    HFONT font = SummaryFont(dc, all);
    HGDIOBJ previous = SelectObject(dc, font);
    for (size_t i = 0; i < drawing.size(); ++i) {
        const SummaryText& text = drawing[i];
        SetTextColor(dc, RGB(text.colour.red, text.colour.green, text.colour.blue));
        // Positions are the texts' top-left corners, as TextOut takes them.
        TextOutW(dc, text.x, text.y, shown[i].c_str(), static_cast<int>(shown[i].size()));
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(m_window, &paint);
}

} // namespace kelvane
