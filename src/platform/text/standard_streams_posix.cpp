// SPDX-License-Identifier: MIT
#include "platform/text/standard_streams.h"

namespace kelvane {

// The streams are bytes already.
void WriteStandardStreamsAsBytes() {}

} // namespace kelvane
