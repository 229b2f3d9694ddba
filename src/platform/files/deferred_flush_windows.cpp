// SPDX-License-Identifier: MIT
#include "platform/files/deferred_flush.h"

#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {

std::string DeferredFlushPath(const std::string& transactionTarget) {
    const std::wstring wide = WidePath(transactionTarget);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

bool FlushToDisk(const std::vector<std::string>& files, int& error) {
    for (const std::string& file : files) {
        HANDLE handle = CreateFileW(WideFromUtf8(file).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            error = LastErrorAsErrno();
            return false;
        }
        const bool flushed = FlushFileBuffers(handle) != 0;
        error = flushed ? 0 : LastErrorAsErrno();
        CloseHandle(handle);
        if (!flushed)
            return false;
    }
    error = 0;
    return true;
}

} // namespace kelvane
