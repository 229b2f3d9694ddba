// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

enum class ResourceLanguage { English, Japanese };

// Japanese when the locale's language is "ja" (LC_ALL, LC_MESSAGES, LANG, in
// that order of precedence), English when another is set.
// With none of them set, the system's: the user's interface language on
// Windows, English elsewhere.
ResourceLanguage LanguageFromEnvironment();
ResourceLanguage SystemLanguage();

} // namespace kelvane
