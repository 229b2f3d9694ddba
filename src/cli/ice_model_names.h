// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// The model a name means, in any case; -1 for none.
int IceModelByName(const std::string& name);

// A model's name for messages; "an unknown model" outside the known ones.
std::string IceModelText(uint32_t model);

} // namespace kelvane
