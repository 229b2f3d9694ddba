// SPDX-License-Identifier: MIT
#include "platform/text/language.h"

namespace kelvane {

// The locale variables are the system's word here.
ResourceLanguage SystemLanguage() {
    return ResourceLanguage::English;
}

} // namespace kelvane
