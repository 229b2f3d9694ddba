// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <cstdint>
#include <span>
#include <string>

namespace kelvane {

// One command of Edit > Convert.
struct ConversionCommand {
    uint32_t commandId;
    const char* menuText; // English; the Japanese menu has "→" for " -> "
    char acceleratorKey;  // with Shift+Ctrl
    int32_t direction;    // passed to the module, bit of its supported mask
    IceModel from;
    IceModel to;
    unsigned confirmationId; // string id of the question asked first
};

// Accelerator flags of the entries: virtual key, no-invert, Shift, Ctrl.
inline constexpr unsigned kConversionAcceleratorFlags = 0x0F;

// The ten commands in menu order.
std::span<const ConversionCommand> ConversionCommands();

// The row of a command id, or nullptr.
const ConversionCommand* FindConversionCommand(uint32_t commandId);

// The row of a direction (0..9), or nullptr.
const ConversionCommand* FindConversionDirection(int32_t direction);

// The row that converts `from` into `to`, or nullptr when no direction does.
const ConversionCommand* FindConversionBetween(uint32_t from, uint32_t to);

// The menu text in the resource language.
std::string ConversionMenuText(const ConversionCommand& command);

// The enabling rule: a loaded project of the row's source model and a
// module, found and loaded, that supports the direction.
bool IsConversionEnabled(const ConversionCommand& command, const ProjectSettings& settings);

} // namespace kelvane
