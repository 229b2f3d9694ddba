// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"

#include <span>

namespace kelvane {

enum class ControlKind {
    Static,
    GroupBox,
    Icon,
    Edit,
    PushButton,
    RadioButton,
    CheckBox,
    ListBox,
    ComboBox,
};

// Style bits of a template control, with the values the templates were
// drawn up with; only these change what a host builds or how it behaves.
enum ControlStyle : unsigned {
    BS_DEFPUSHBUTTON = 0x0001,
    LBS_NOTIFY = 0x0001,
    LBS_SORT = 0x0002,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    ES_AUTOHSCROLL = 0x0080,
    LBS_NOINTEGRALHEIGHT = 0x0100,
    CBS_SORT = 0x0100,
    ES_READONLY = 0x0800,
    ES_NUMBER = 0x2000, // an edit that takes only decimal digits as the user types
    // The program's own, with no platform style behind it: an edit that takes
    // only hexadecimal digits as the user types. Hosts apply it themselves.
    ES_HEXDIGITS = 0x4000,
    WS_TABSTOP = 0x00010000,
    WS_GROUP = 0x00020000, // starts a group: radio buttons up to the next group belong together
    WS_VSCROLL = 0x00200000,
    WS_BORDER = 0x00800000,
    WS_DISABLED = 0x08000000,
};

// A static text or icon without an id of its own.
inline constexpr int IDC_STATIC = -1;

// One control of a template; positions and sizes in dialog units.
struct DialogControl {
    int id;
    ControlKind kind;
    unsigned style;
    const char* text; // UTF-8; for an icon, the resource id of the picture as text
    int x, y, w, h;
};

// A dialog as drawn up: its size in dialog units is the client area.
struct DialogTemplate {
    unsigned id;
    const char* title; // UTF-8
    int width, height;
    const char* fontName;
    int pointSize;
    bool contextHelpButton; // the "?" caption button
    std::span<const DialogControl> controls;

    const DialogControl* Find(int controlId) const {
        for (const DialogControl& control : controls)
            if (control.id == controlId && controlId != IDC_STATIC)
                return &control;
        return nullptr;
    }
};

} // namespace kelvane
