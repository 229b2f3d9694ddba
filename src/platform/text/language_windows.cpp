// SPDX-License-Identifier: MIT
#include "platform/text/language.h"

#include <windows.h>

namespace kelvane {

ResourceLanguage SystemLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? ResourceLanguage::Japanese
                                                                      : ResourceLanguage::English;
}

} // namespace kelvane
