// SPDX-License-Identifier: MIT
#include "test_files.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <windows.h>

namespace kelvane::test {

TempFolder::TempFolder() {
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("kelvane-test-" + std::to_string(random()));
        if (CreateDirectoryW(candidate.wstring().c_str(), nullptr)) {
            m_path = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

namespace {

HANDLE OpenForTimes(const std::string& path, DWORD access) {
    return CreateFileW(std::filesystem::path(path).wstring().c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

// In FILETIME's 100 ns steps, which std::filesystem cuts to seconds here.
ModifyTime ModifyTimeOf(const std::string& path) {
    const HANDLE file = OpenForTimes(path, FILE_READ_ATTRIBUTES);
    FILETIME written{};
    const bool known =
        file != INVALID_HANDLE_VALUE && GetFileTime(file, nullptr, nullptr, &written);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!known)
        throw std::runtime_error("cannot read the time of " + path);
    const int64_t ticks = (int64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return {ticks / 10000000, ticks % 10000000 * 100};
}

void SetModifyTime(const std::string& path, const ModifyTime& time) {
    const int64_t ticks = time.seconds * 10000000 + time.nanoseconds / 100;
    FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE file = OpenForTimes(path, FILE_WRITE_ATTRIBUTES);
    const bool set = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &written);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!set)
        throw std::runtime_error("cannot set the time of " + path);
}

// Windows has no FIFOs; its device names open as something that is no file
// on disk, wherever they are asked for.
std::string NotARegularFile(const std::string&) {
    return "NUL";
}

// Windows limits no file size per process; the writes are not cut.
ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long) : m_savedCurrent(0) {}
ScopedFileSizeLimit::~ScopedFileSizeLimit() = default;

// No FIFO or device blocks an open here; the body runs in this process.
std::optional<std::string> RunWithin(unsigned, const std::function<std::string()>& body) {
    return body();
}

} // namespace kelvane::test
