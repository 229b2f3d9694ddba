// SPDX-License-Identifier: MIT
#include "platform/files/absolute_path.h"
#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {
namespace {

// "C:\x", "\\server\share\x" and "\x" (the current drive's root) are not
// made relative to the working folder.
bool IsAbsolute(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
        return true;
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

} // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || IsAbsolute(path))
        return path;
    const std::wstring wide = WidePath(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return ProjectFromWide(full);
}

} // namespace kelvane
