// SPDX-License-Identifier: MIT
#include "platform/registry.h"

namespace kelvane {

// Windows keeps its registry in no text file: no file is read.
RegistrySources DefaultRegistrySources() {
    return {};
}

} // namespace kelvane
