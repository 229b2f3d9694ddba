// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

enum class ResourceLanguage { English, Japanese };

// Japanese when the locale's language is "ja" (LC_ALL, LC_MESSAGES, LANG, in
// that order of precedence), English otherwise.
ResourceLanguage LanguageFromEnvironment();

} // namespace kelvane
