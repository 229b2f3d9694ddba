// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelvane {

// One entry of the main menu, read in order: popups open and close around
// their items.
struct MenuEntry {
    // A CheckItem is an Item that shows a check mark while its command is
    // the one in effect.
    enum Kind { PopupBegin, PopupEnd, Item, CheckItem, Separator, ConversionItems };
    Kind kind;
    uint32_t commandId; // items only
    const char* text;   // PopupBegin and items: "Text(&K)\tShortcut" as shown
};

// Accelerator flags, as the accelerator table stores them.
inline constexpr unsigned FVIRTKEY = 0x01;
inline constexpr unsigned FNOINVERT = 0x02;
inline constexpr unsigned FSHIFT = 0x04;
inline constexpr unsigned FCONTROL = 0x08;

struct AcceleratorEntry {
    char key; // virtual key: an upper-case letter or a digit
    unsigned flags;
    uint32_t commandId;
};

// A toolbar button, or a separator where commandId is 0.
struct ToolbarEntry {
    uint32_t commandId;
};

// "Prompt\nTooltip" of a command, for the toolbar.
struct CommandStringEntry {
    uint32_t commandId;
    const char* text;
};

// The menu in the resource language; the conversion items are the
// conversion command table's, at the ConversionItems entry.
std::span<const MenuEntry> MainMenu();
// Accelerators besides the conversions' Shift+Ctrl+digit.
std::span<const AcceleratorEntry> MainAccelerators();
std::span<const ToolbarEntry> MainToolbar();
// The tooltip of a toolbar command in the resource language: the text after
// the "\n" of its command string.
std::string CommandTooltip(uint32_t commandId);
// The window title.
std::string MainWindowTitle();

} // namespace kelvane
