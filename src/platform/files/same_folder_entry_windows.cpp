// SPDX-License-Identifier: MIT
#include "platform/files/file_name_case.h"
#include "platform/files/file_set_paths.h"
#include "platform/files/same_folder_entry.h"
#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {
namespace {

bool FolderIdentity(const std::string& folder, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE handle = CreateFileW(WidePath(folder).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return known;
}

} // namespace

// Names differ in case only: one entry on Windows.
bool SameFolderEntry(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    if (!EqualIgnoringAsciiCase(NameOfSystemPath(a), NameOfSystemPath(b)))
        return false;
    BY_HANDLE_FILE_INFORMATION one{}, other{};
    if (!FolderIdentity(FolderOfSystemPath(a), one) ||
        !FolderIdentity(FolderOfSystemPath(b), other))
        return false;
    return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

} // namespace kelvane
