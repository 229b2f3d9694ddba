// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kelvane {

// A file the system has open: a descriptor on POSIX, a HANDLE on Windows.
// A type of its own, so that a count or an offset is never taken for one.
enum class NativeFile : intptr_t { None = -1 };

} // namespace kelvane
