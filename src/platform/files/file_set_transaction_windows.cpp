// SPDX-License-Identifier: MIT
#include "platform/files/file_set_paths.h"
#include "platform/files/file_set_transaction.h"
#include "platform/text/code_page.h"
#include "platform/text/windows_text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <windows.h>

namespace kelvane {
namespace {

HANDLE HandleOf(NativeFile file) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file));
}

// Paths are in the project code page, whose two-byte characters may end
// in '\\' (CP932's ソ is 83 5C): such a byte separates nothing.
size_t LastSeparator(const std::string& path) {
    size_t last = std::string::npos;
    for (size_t at = 0; at < path.size(); at += ProjectCharacterLength(path, at))
        if (path[at] == '\\' || path[at] == '/')
            last = at;
    return last;
}

bool SameFile(HANDLE one, HANDLE other) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return GetFileInformationByHandle(one, &a) && GetFileInformationByHandle(other, &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

HANDLE OpenLockFile(const std::wstring& path, DWORD disposition) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

std::string FolderOfSystemPath(const std::string& path) {
    const size_t separator = LastSeparator(path);
    if (separator == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    // "C:\" and "\" keep their separator: without it they name another folder.
    if (separator == 0 || (separator == 2 && path[1] == ':'))
        return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

std::string NameOfSystemPath(const std::string& path) {
    const size_t separator = LastSeparator(path);
    if (separator == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;
    return path.substr(separator + 1);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/' || folder.back() == ':'))
        return folder + name;
    return folder + "\\" + name;
}

bool FileSetTransaction::Lock(const std::string& projectPath, int timeoutSeconds) {
    Unlock();
    const std::string path =
        InFolder(FolderOfSystemPath(projectPath), "." + NameOfSystemPath(projectPath) + ".lock");
    const std::wstring wide = WidePath(path);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(std::max(timeoutSeconds, 0));
    for (;;) {
        const HANDLE handle = OpenLockFile(wide, OPEN_ALWAYS);
        if (handle == INVALID_HANDLE_VALUE) {
            // A lock file its holder has just deleted refuses opens until
            // its last handle is closed.
            if (GetLastError() == ERROR_ACCESS_DENIED &&
                GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES &&
                std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            return Fail(LastErrorAsErrno());
        }
        bool locked = false;
        for (;;) {
            OVERLAPPED whole{};
            locked = LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                MAXDWORD, MAXDWORD, &whole);
            if (locked || GetLastError() != ERROR_LOCK_VIOLATION ||
                std::chrono::steady_clock::now() >= deadline)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!locked) {
            const int error =
                GetLastError() == ERROR_LOCK_VIOLATION ? EWOULDBLOCK : LastErrorAsErrno();
            CloseHandle(handle);
            return Fail(error);
        }
        // As on POSIX: the holder before deletes the file it locked.
        const HANDLE named = OpenLockFile(wide, OPEN_EXISTING);
        const bool same = named != INVALID_HANDLE_VALUE && SameFile(handle, named);
        if (named != INVALID_HANDLE_VALUE)
            CloseHandle(named);
        if (same) {
            m_lock = static_cast<NativeFile>(reinterpret_cast<intptr_t>(handle));
            m_lockPath = path;
            return true;
        }
        CloseHandle(handle);
    }
}

void FileSetTransaction::Unlock() {
    if (m_lock == NativeFile::None)
        return;
    DeleteFileW(WidePath(m_lockPath).c_str());
    CloseHandle(HandleOf(m_lock));
    m_lock = NativeFile::None;
}

bool FileSetTransaction::ExamineTarget(Member& member) {
    member.target = member.given;
    const DWORD attributes = GetFileAttributesW(WidePath(member.target).c_str());
    member.exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!member.exists) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILENAME_EXCED_RANGE)
            return Fail(ENAMETOOLONG);
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Fail(EISDIR);
    // A read-only file is not replaced, though a rename could.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return Fail(EACCES);
    member.mode = attributes;
    return true;
}

bool FileSetTransaction::OpenTemporary(Member& member, const std::string& folder) {
    return OpenNamedTemporary(member, folder);
}

// Every temporary is named when opened.
bool FileSetTransaction::NameTemporary(Member&) {
    errno = EINVAL;
    return false;
}

void FileSetTransaction::RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOfSystemPath(target);
    const std::string prefix = TemporaryPrefix(target);
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(WidePath(InFolder(folder, prefix + "*")).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> stale;
    do {
        const std::string name = ProjectFromWide(entry.cFileName);
        if (IsTemporaryName(name, prefix))
            stale.push_back(InFolder(folder, name));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    for (const std::string& path : stale)
        m_fs.Unlink(path);
}

// The replaced file's attributes (hidden, archive) go to its successor;
// its security comes from the folder, as for any new file there.
bool FileSetTransaction::KeepModeAndOwner(Member& m) {
    if (m.exists && m.mode != 0 &&
        !SetFileAttributesW(WidePath(m.temp).c_str(), m.mode & ~FILE_ATTRIBUTE_READONLY))
        return Fail(LastErrorAsErrno());
    return true;
}

// MOVEFILE_WRITE_THROUGH has put each entry on disk already.
bool FileSetTransaction::SyncFolders() {
    return true;
}

} // namespace kelvane
