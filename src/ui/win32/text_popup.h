// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"

#include "ui/win32/windows_api.h"

#include <string>

namespace kelvane {

// A help popup: the UTF-8 text wrapped in a framed window of the request's
// colours and margins, its top left corner at the request's position and
// kept on the screen. A click or a key anywhere closes it, and so does
// another window taking the focus. Null when it could not be made.
HWND ShowTextPopup(const std::string& text, const HelpPopupRequest& request);

} // namespace kelvane
