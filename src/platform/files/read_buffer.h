// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>

namespace kelvane {

// Memory, not cleared, for a file read whole. A large one is asked of the
// kernel in huge pages where it offers them, so filling it takes a page
// fault per 2 MiB instead of one per 4 KiB.
std::shared_ptr<char[]> AllocateReadBuffer(size_t size);

} // namespace kelvane
