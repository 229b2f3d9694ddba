// SPDX-License-Identifier: MIT
#include "convert/conversion_commands.h"

#include "res/string_ids.h"
#include "res/string_table.h"

#include <array>

namespace kelvane {
namespace {

// Menu order is command order; the directions do not follow it.
constexpr std::array<ConversionCommand, 10> kCommands = {{
    {2000, "NOVA -> BANTAM(&0)\tShift+Ctrl+0", '0', 0, ICE_TALVEX_NOVA, ICE_TALVEX_BANTAM,
     IDS_CONVERT_NOVA_TO_BANTAM},
    {2001, "NOVA -> MAX(&1)\tShift+Ctrl+1", '1', 3, ICE_TALVEX_NOVA, ICE_TALVEX_MAX,
     IDS_CONVERT_NOVA_TO_MAX},
    {2002, "BANTAM -> NOVA(&2)\tShift+Ctrl+2", '2', 1, ICE_TALVEX_BANTAM, ICE_TALVEX_NOVA,
     IDS_CONVERT_BANTAM_TO_NOVA},
    {2003, "BANTAM -> MAX(&3)\tShift+Ctrl+3", '3', 4, ICE_TALVEX_BANTAM, ICE_TALVEX_MAX,
     IDS_CONVERT_BANTAM_TO_MAX},
    {2004, "MAX -> NOVA(&4)\tShift+Ctrl+4", '4', 2, ICE_TALVEX_MAX, ICE_TALVEX_NOVA,
     IDS_CONVERT_MAX_TO_NOVA},
    {2005, "MAX -> BANTAM(&5)\tShift+Ctrl+5", '5', 5, ICE_TALVEX_MAX, ICE_TALVEX_BANTAM,
     IDS_CONVERT_MAX_TO_BANTAM},
    {32781, "MAX -> VEGA(&6)\tShift+Ctrl+6", '6', 6, ICE_TALVEX_MAX, ICE_TALVEX_VEGA,
     IDS_CONVERT_MAX_TO_VEGA},
    {32782, "VEGA -> MAX(&7)\tShift+Ctrl+7", '7', 7, ICE_TALVEX_VEGA, ICE_TALVEX_MAX,
     IDS_CONVERT_VEGA_TO_MAX},
    {32784, "VEGA -> VEGA II(&8)\tShift+Ctrl+8", '8', 8, ICE_TALVEX_VEGA, ICE_TALVEX_VEGA_II,
     IDS_CONVERT_VEGA_TO_VEGA_II},
    {32785, "VEGA II -> VEGA(&9)\tShift+Ctrl+9", '9', 9, ICE_TALVEX_VEGA_II, ICE_TALVEX_VEGA,
     IDS_CONVERT_VEGA_II_TO_VEGA},
}};

} // namespace

std::span<const ConversionCommand> ConversionCommands() {
    return kCommands;
}

const ConversionCommand* FindConversionCommand(uint32_t commandId) {
    for (const ConversionCommand& command : kCommands)
        if (command.commandId == commandId)
            return &command;
    return nullptr;
}

const ConversionCommand* FindConversionDirection(int32_t direction) {
    for (const ConversionCommand& command : kCommands)
        if (command.direction == direction)
            return &command;
    return nullptr;
}

const ConversionCommand* FindConversionBetween(uint32_t from, uint32_t to) {
    for (const ConversionCommand& command : kCommands)
        if (command.from == from && command.to == to)
            return &command;
    return nullptr;
}

std::string ConversionMenuText(const ConversionCommand& command) {
    std::string text = command.menuText;
    if (CurrentResourceLanguage() == ResourceLanguage::Japanese) {
        const size_t arrow = text.find(" -> ");
        if (arrow != std::string::npos)
            text.replace(arrow, 4, "\xE2\x86\x92");
    }
    return text;
}

bool IsConversionEnabled(const ConversionCommand& command, const ProjectSettings& settings) {
    return settings.m_bProjectLoaded && settings.m_abConvertSupported[command.direction] != 0 &&
           settings.m_nIceModel == command.from && settings.m_szConvertModule[0] != '\0';
}

} // namespace kelvane
