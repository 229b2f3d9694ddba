// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The build's product version as the two 32-bit words of a version record.
extern const uint32_t kProductVersionMS;
extern const uint32_t kProductVersionLS;

// `base` followed by the version: "7.02", then the in-house mark and the
// patch-level suffix the low words ask for (7.2.0.13 gives "7.02PL3").
std::string ComposeVersionText(std::string_view base, uint32_t productVersionMS,
                               uint32_t productVersionLS);

} // namespace kelvane
