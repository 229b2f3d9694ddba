// SPDX-License-Identifier: MIT
#include "platform/text/standard_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace kelvane {

void WriteStandardStreamsAsBytes() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace kelvane
