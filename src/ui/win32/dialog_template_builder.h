// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog_template.h"

#include <cstdint>
#include <vector>

namespace kelvane {

// Window styles of a template control as the dialog manager creates it: the
// kind's window class style with the template's own bits. A sorted list or
// combo box is built unsorted: entries go where they are added.
uint32_t Win32ControlStyle(const DialogControl& control);

// The template as the in-memory DLGTEMPLATEEX that DialogBoxIndirectParamW
// takes: the dialog's frame, title and font, then every control at its
// position in dialog units. The Japanese templates' font is asked for with
// the Shift-JIS character set.
std::vector<uint32_t> BuildDialogTemplate(const DialogTemplate& dialogTemplate, bool japanese);

} // namespace kelvane
