// SPDX-License-Identifier: MIT
#include "platform/files/read_buffer.h"

namespace kelvane {

std::shared_ptr<char[]> AllocateReadBuffer(size_t size) {
    return std::shared_ptr<char[]>(new char[size]);
}

} // namespace kelvane
