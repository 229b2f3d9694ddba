// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The file-system calls a save makes, so that tests can make any one of
// them fail. Each returns false (or -1) with errno set, as the system does.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int Open(const std::string& path, int flags, unsigned mode) = 0;
    // Writes all of `bytes` at `offset`.
    virtual bool WriteAt(int fd, uint64_t offset, std::string_view bytes) = 0;
    // Copies `length` bytes of `sourceFd` from `sourceOffset` to `fd` at
    // `offset`, in the kernel where it can; ENODATA when the source ends
    // first.
    virtual bool CopyAt(int fd, uint64_t offset, int sourceFd, uint64_t sourceOffset,
                        uint64_t length) = 0;
    virtual bool Sync(int fd) = 0;
    virtual bool Close(int fd) = 0;
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Unlink(const std::string& path) = 0;
    // A new name `to` for the file `from` names, following a symbolic link.
    virtual bool Link(const std::string& from, const std::string& to) = 0;
};

// The system's own calls.
FileSystem& SystemFileSystem();

} // namespace kelvane
