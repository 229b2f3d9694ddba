// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog_template.h"
#include "platform/text/language.h"

#include <span>

namespace kelvane {

std::span<const DialogTemplate> EnglishDialogTemplates();
std::span<const DialogTemplate> JapaneseDialogTemplates();

// The template of a dialog in the given language; nullptr for an unknown id.
const DialogTemplate* FindDialogTemplate(unsigned templateId, ResourceLanguage language);

} // namespace kelvane
