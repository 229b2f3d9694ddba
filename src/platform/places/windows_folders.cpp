// SPDX-License-Identifier: MIT
#include "platform/places/windows_folders.h"
#include "platform/text/windows_text.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <windows.h>

namespace kelvane {

std::string KnownFolder(const GUID& id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = ProjectFromWide(path);
    CoTaskMemFree(path);
    return folder;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace kelvane
