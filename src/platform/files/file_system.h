// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/native_file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// What a save opens.
enum class FileOpening {
    NewFile,      // a file that must not exist yet, for writing
    NamelessFile, // a file without a name in the folder given, for writing
    Folder,       // a folder, to flush its entries
};

// The file-system calls a save makes, so that tests can make any one of
// them fail. Each returns false (or NativeFile::None) with errno set.
// Paths are in the system's form: the locale's charset on POSIX, the
// project code page on Windows (converted to UTF-16 at the call).
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual NativeFile Open(const std::string& path, FileOpening how) = 0;
    // Writes all of `bytes` at `offset`.
    virtual bool WriteAt(NativeFile file, uint64_t offset, std::string_view bytes) = 0;
    // Copies `length` bytes of `source` from `sourceOffset` to `file` at
    // `offset`, in the kernel where it can; ENODATA when the source ends
    // first.
    virtual bool CopyAt(NativeFile file, uint64_t offset, NativeFile source, uint64_t sourceOffset,
                        uint64_t length) = 0;
    virtual bool Sync(NativeFile file) = 0;
    virtual bool Close(NativeFile file) = 0;
    // Replaces `to`, which may exist.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Unlink(const std::string& path) = 0;
    // A new name `to` for the file `from` names, following a symbolic link.
    virtual bool Link(const std::string& from, const std::string& to) = 0;
};

// The system's own calls.
FileSystem& SystemFileSystem();

// Whether a rename may replace a file this program has open: not on
// Windows, where the file must be closed first.
extern const bool kOpenFilesCanBeReplaced;

} // namespace kelvane
