// SPDX-License-Identifier: MIT
#include "dialogs/model_name.h"

#include "platform/text/code_page.h"

namespace kelvane {

bool IsValidModelName(std::string_view modelText) {
    return !modelText.empty() &&
           std::string_view("YDJZSH").find(modelText[0]) != std::string_view::npos;
}

std::string UpperCaseModelName(std::string_view modelText) {
    std::string upper(modelText);
    // The second byte of a two-byte character may look like a letter.
    for (size_t at = 0; at < upper.size(); at += ProjectCharacterLength(upper, at))
        if (upper[at] >= 'a' && upper[at] <= 'z')
            upper[at] = static_cast<char>(upper[at] - 'a' + 'A');
    return upper;
}

} // namespace kelvane
