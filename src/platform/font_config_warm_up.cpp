// SPDX-License-Identifier: MIT
#include "platform/font_config_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace kelvane {

// The configuration FcInit loads becomes the process's current one, which
// Qt's font database then finds loaded. A failure is Qt's to meet later.
FontConfigWarmUp::FontConfigWarmUp() : m_thread([] { FcInit(); }) {}

} // namespace kelvane
