// SPDX-License-Identifier: MIT
#include "platform/process/executable_path.h"
#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return ProjectFromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace kelvane
