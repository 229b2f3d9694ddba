// SPDX-License-Identifier: MIT
#include "platform/files/file_reader.h"

#include "platform/text/windows_text.h"

#include <algorithm>
#include <cerrno>
#include <windows.h>

namespace kelvane {
namespace {

HANDLE HandleOf(NativeFile file) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file));
}

// FILETIME counts 100 ns steps since 1601; the stamp wants seconds and
// nanoseconds, of any epoch, as long as it is always the same.
FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.stamp.size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const uint64_t ticks =
        (uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    identity.stamp.modifySeconds = static_cast<int64_t>(ticks / 10000000);
    identity.stamp.modifyNanoseconds = static_cast<int64_t>(ticks % 10000000) * 100;
    return identity;
}

// Shared for reading, writing and deleting: a save may replace a file this
// program still reads.
HANDLE OpenForQuery(const std::wstring& path, DWORD access, DWORD flags) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, flags, nullptr);
}

} // namespace

bool IdentityOfFile(NativeFile file, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(HandleOf(file), &info)) {
        LastErrorAsErrno();
        return false;
    }
    identity = IdentityOf(info);
    return true;
}

PathKind KindOfPath(const std::string& path, FileIdentity* identity) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        LastErrorAsErrno();
        return PathKind::Missing;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathKind::Folder;
    const HANDLE handle = OpenForQuery(wide, 0, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        LastErrorAsErrno();
        return PathKind::Missing;
    }
    // A device name (NUL, CON, COM1) has attributes too, but no disk file.
    PathKind kind = GetFileType(handle) == FILE_TYPE_DISK ? PathKind::RegularFile : PathKind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (kind == PathKind::RegularFile && identity != nullptr) {
        if (GetFileInformationByHandle(handle, &info))
            *identity = IdentityOf(info);
        else
            kind = PathKind::Missing;
    }
    CloseHandle(handle);
    return kind;
}

bool FileReader::Open(const std::string& path) {
    Close();
    m_error = 0;
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_error = EISDIR;
        return false;
    }
    const HANDLE handle = OpenForQuery(wide, GENERIC_READ, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error = LastErrorAsErrno();
        return false;
    }
    m_file = static_cast<NativeFile>(reinterpret_cast<intptr_t>(handle));
    // Pipes, consoles and devices are never read as project files.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        m_error = kNotRegularFile;
        Close();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        m_error = LastErrorAsErrno();
        Close();
        return false;
    }
    m_opened = IdentityOf(info);
    m_size = m_opened.stamp.size;
    return true;
}

void FileReader::Close() {
    if (IsOpen())
        CloseHandle(HandleOf(m_file));
    m_file = NativeFile::None;
    m_size = 0;
}

size_t FileReader::ReadAt(uint64_t offset, void* destination, size_t length) {
    auto* bytes = static_cast<char*>(destination);
    size_t got = 0;
    while (IsOpen() && got < length) {
        OVERLAPPED at{};
        const uint64_t position = offset + got;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(length - got, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(HandleOf(m_file), bytes + got, want, &n, &at)) {
            const DWORD error = GetLastError();
            m_error = error == ERROR_HANDLE_EOF ? 0 : ErrnoOfWindowsError(error);
            break;
        }
        if (n == 0) {
            m_error = 0;
            break;
        }
        got += n;
    }
    return got;
}

} // namespace kelvane
