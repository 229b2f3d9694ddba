// SPDX-License-Identifier: MIT
#include "platform/files/file_system.h"

#include "platform/text/windows_text.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <windows.h>

namespace kelvane {
namespace {

HANDLE HandleOf(NativeFile file) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(file));
}

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

bool Failed() {
    LastErrorAsErrno();
    return false;
}

class WindowsFileSystem final : public FileSystem {
public:
    NativeFile Open(const std::string& path, FileOpening how) override {
        // Windows has neither nameless files nor folders to flush: a rename
        // with MOVEFILE_WRITE_THROUGH returns once its entry is on disk.
        if (how != FileOpening::NewFile) {
            errno = EOPNOTSUPP;
            return NativeFile::None;
        }
        const HANDLE handle =
            CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            LastErrorAsErrno();
            return NativeFile::None;
        }
        return static_cast<NativeFile>(reinterpret_cast<intptr_t>(handle));
    }

    bool WriteAt(NativeFile file, uint64_t offset, std::string_view bytes) override {
        while (!bytes.empty()) {
            OVERLAPPED at = At(offset);
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(HandleOf(file), bytes.data(), want, &written, &at))
                return Failed();
            bytes.remove_prefix(written);
            offset += written;
        }
        return true;
    }

    bool CopyAt(NativeFile file, uint64_t offset, NativeFile source, uint64_t sourceOffset,
                uint64_t length) override {
        const std::unique_ptr<char[]> buffer(new char[kCopyChunk]);
        while (length > 0) {
            const DWORD want = static_cast<DWORD>(std::min<uint64_t>(length, kCopyChunk));
            OVERLAPPED at = At(sourceOffset);
            DWORD got = 0;
            if (!ReadFile(HandleOf(source), buffer.get(), want, &got, &at) &&
                GetLastError() != ERROR_HANDLE_EOF)
                return Failed();
            if (got == 0) {
                errno = ENODATA;
                return false;
            }
            if (!WriteAt(file, offset, std::string_view(buffer.get(), got)))
                return false;
            sourceOffset += got;
            offset += got;
            length -= got;
        }
        return true;
    }

    bool Sync(NativeFile file) override { return FlushFileBuffers(HandleOf(file)) || Failed(); }
    bool Close(NativeFile file) override { return CloseHandle(HandleOf(file)) || Failed(); }

    bool Rename(const std::string& from, const std::string& to) override {
        return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
               Failed();
    }
    bool Unlink(const std::string& path) override {
        return DeleteFileW(WidePath(path).c_str()) || Failed();
    }
    bool Link(const std::string& from, const std::string& to) override {
        return CreateHardLinkW(WidePath(to).c_str(), WidePath(from).c_str(), nullptr) || Failed();
    }

private:
    static constexpr size_t kCopyChunk = 1 << 20;
};

} // namespace

const bool kOpenFilesCanBeReplaced = false;

FileSystem& SystemFileSystem() {
    static WindowsFileSystem system;
    return system;
}

} // namespace kelvane
