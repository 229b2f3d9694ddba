// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

inline constexpr uint16_t kMachineI386 = 0x14C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;

// The machine a Windows DLL is built for, from its PE header; 0 when the
// file is not one or cannot be read.
uint16_t PeMachineOf(const std::string& file);

} // namespace kelvane
