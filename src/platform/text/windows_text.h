// SPDX-License-Identifier: MIT
#pragma once

// Helpers of the Windows platform files only.

#include <string>
#include <string_view>

namespace kelvane {

// A project-code-page path in the form the wide (W) calls take. A byte that
// does not convert becomes '?', which no Windows file name holds, so that
// such a path fails to open rather than naming another file.
std::wstring WidePath(std::string_view projectPath);
// UTF-8 (resource texts, library names) in the form the wide calls take.
std::wstring WideFromUtf8(std::string_view utf8);
// UTF-16 from the system (a path, a name) in the project code page.
std::string ProjectFromWide(std::wstring_view text);
// The errno value that says the same as a GetLastError() code.
int ErrnoOfWindowsError(unsigned long error);
// ErrnoOfWindowsError(GetLastError()), also stored in errno.
int LastErrorAsErrno();

} // namespace kelvane
