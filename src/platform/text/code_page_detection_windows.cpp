// SPDX-License-Identifier: MIT
#include "platform/text/code_page_detection.h"

#include <windows.h>

namespace kelvane {

// Windows has no charset detector; the rule of the code pages decides alone.
std::string DetectedCharset(std::string_view) {
    return "";
}

std::string LocaleWindowsCodePage() {
    return "CP" + std::to_string(GetACP());
}

} // namespace kelvane
