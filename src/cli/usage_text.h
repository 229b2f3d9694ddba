// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

// What `kelvane-cli --help` prints, and wrong usage after its message.
const char* UsageText();

} // namespace kelvane
