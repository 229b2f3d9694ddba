// SPDX-License-Identifier: MIT
#include "platform/files/file_name_case.h"
#include "platform/text/windows_text.h"

#include <cerrno>
#include <windows.h>

namespace kelvane {

int ExactNameError(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES
               ? 0
               : ErrnoOfWindowsError(GetLastError());
}

// The file system itself finds a name in any letter case. A name that
// cannot be looked for is taken as given: its open says why.
FoundFile FindFileIgnoringCase(const std::string& path) {
    return {ExactNameError(path) == ENOENT ? NameMatch::None : NameMatch::Exact, path};
}

} // namespace kelvane
