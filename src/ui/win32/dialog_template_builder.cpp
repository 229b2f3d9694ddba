// SPDX-License-Identifier: MIT
#include "ui/win32/dialog_template_builder.h"

#include "platform/text/windows_text.h"

#include "ui/win32/windows_api.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace kelvane {
namespace {

// The predefined window classes, as ordinals of the dialog manager.
constexpr uint16_t kButtonClass = 0x0080;
constexpr uint16_t kEditClass = 0x0081;
constexpr uint16_t kStaticClass = 0x0082;
constexpr uint16_t kListBoxClass = 0x0083;
constexpr uint16_t kComboBoxClass = 0x0085;

// The template's style bits that hold for every kind.
constexpr uint32_t kCommonBits = WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_BORDER | WS_DISABLED;

// Appends little-endian words; items start on four-byte boundaries.
class TemplateWriter {
public:
    void Word(uint16_t value) { m_bytes.push_back(value); }
    void DoubleWord(uint32_t value) {
        Word(static_cast<uint16_t>(value & 0xFFFF));
        Word(static_cast<uint16_t>(value >> 16));
    }
    void Text(const std::wstring& text) {
        for (wchar_t c : text)
            Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void Ordinal(uint16_t ordinal) {
        Word(0xFFFF);
        Word(ordinal);
    }
    void AlignToDoubleWord() {
        if (m_bytes.size() % 2 != 0)
            Word(0);
    }
    std::vector<uint32_t> Finish() const {
        std::vector<uint32_t> words((m_bytes.size() + 1) / 2, 0);
        std::memcpy(words.data(), m_bytes.data(), m_bytes.size() * sizeof(uint16_t));
        return words;
    }

private:
    std::vector<uint16_t> m_bytes;
};

uint16_t ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Icon:
        return kStaticClass;
    case ControlKind::Edit:
        return kEditClass;
    case ControlKind::ListBox:
        return kListBoxClass;
    case ControlKind::ComboBox:
        return kComboBoxClass;
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
        break;
    }
    return kButtonClass;
}

} // namespace

uint32_t Win32ControlStyle(const DialogControl& control) {
    uint32_t style = WS_CHILD | WS_VISIBLE | (control.style & kCommonBits);
    const uint32_t own = control.style & 0xFFFF;
    switch (control.kind) {
    case ControlKind::Static:
        return style | SS_LEFT;
    case ControlKind::Icon:
        return style | SS_ICON;
    case ControlKind::GroupBox:
        return style | BS_GROUPBOX;
    case ControlKind::Edit:
        return style | ES_LEFT | (own & (ES_AUTOHSCROLL | ES_READONLY | ES_NUMBER));
    case ControlKind::PushButton:
        return style | ((own & BS_DEFPUSHBUTTON) != 0 ? uint32_t{BS_DEFPUSHBUTTON}
                                                      : uint32_t{BS_PUSHBUTTON});
    case ControlKind::RadioButton:
        return style | BS_AUTORADIOBUTTON;
    case ControlKind::CheckBox:
        return style | BS_AUTOCHECKBOX;
    case ControlKind::ListBox:
        return style | (own & (LBS_NOTIFY | LBS_NOINTEGRALHEIGHT));
    case ControlKind::ComboBox:
        return style | (own & CBS_DROPDOWNLIST) | WS_VSCROLL;
    }
    return style;
}

std::vector<uint32_t> BuildDialogTemplate(const DialogTemplate& dialogTemplate, bool japanese) {
    TemplateWriter out;
    uint32_t style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    uint32_t extendedStyle = 0;
    if (dialogTemplate.contextHelpButton) {
        style |= DS_CONTEXTHELP;
        extendedStyle |= WS_EX_CONTEXTHELP;
    }
    out.Word(1);      // dlgVer
    out.Word(0xFFFF); // signature of the extended form
    out.DoubleWord(0);
    out.DoubleWord(extendedStyle);
    out.DoubleWord(style);
    out.Word(static_cast<uint16_t>(dialogTemplate.controls.size()));
    out.Word(0);
    out.Word(0);
    out.Word(static_cast<uint16_t>(dialogTemplate.width));
    out.Word(static_cast<uint16_t>(dialogTemplate.height));
    out.Word(0); // no menu
    out.Word(0); // the dialog class
    out.Text(WideFromUtf8(dialogTemplate.title));
    out.Word(static_cast<uint16_t>(dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 9));
    out.Word(FW_NORMAL);
    out.Word(japanese ? SHIFTJIS_CHARSET << 8 : DEFAULT_CHARSET << 8); // italic 0, charset
    out.Text(WideFromUtf8(dialogTemplate.fontName));
    for (const DialogControl& control : dialogTemplate.controls) {
        out.AlignToDoubleWord();
        out.DoubleWord(0); // help id
        out.DoubleWord(0);
        out.DoubleWord(Win32ControlStyle(control));
        out.Word(static_cast<uint16_t>(control.x));
        out.Word(static_cast<uint16_t>(control.y));
        out.Word(static_cast<uint16_t>(control.w));
        out.Word(static_cast<uint16_t>(control.h));
        out.DoubleWord(static_cast<uint32_t>(control.id));
        out.Ordinal(ClassOf(control.kind));
        // An icon's text is the resource id of its picture.
        if (control.kind == ControlKind::Icon)
            out.Ordinal(static_cast<uint16_t>(std::strtoul(control.text, nullptr, 10)));
        else
            out.Text(WideFromUtf8(control.text));
        out.Word(0); // no creation data
    }
    return out.Finish();
}

} // namespace kelvane
