// SPDX-License-Identifier: MIT
#include "platform/file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

namespace kelvane {
namespace {

// Errors that say the kernel cannot copy between these two files, not that
// the copy went wrong: across file systems before Linux 5.19, and on
// file systems without the call.
bool IsCopyUnsupported(int error) {
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL;
}

class PosixFileSystem final : public FileSystem {
public:
    int Open(const std::string& path, int flags, unsigned mode) override {
        int fd;
        do
            fd = open(path.c_str(), flags, static_cast<mode_t>(mode));
        while (fd < 0 && errno == EINTR);
        return fd;
    }

    bool WriteAt(int fd, uint64_t offset, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written =
                pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(written));
            offset += static_cast<uint64_t>(written);
        }
        return true;
    }

    bool CopyAt(int fd, uint64_t offset, int sourceFd, uint64_t sourceOffset,
                uint64_t length) override {
        auto to = static_cast<off_t>(offset), from = static_cast<off_t>(sourceOffset);
        while (length > 0) {
            const ssize_t copied = copy_file_range(sourceFd, &from, fd, &to, length, 0);
            if (copied < 0 && errno == EINTR)
                continue;
            if (copied < 0 && IsCopyUnsupported(errno))
                return CopyThroughBuffer(fd, to, sourceFd, from, length);
            if (copied < 0)
                return false;
            if (copied == 0) {
                errno = ENODATA;
                return false;
            }
            length -= static_cast<uint64_t>(copied);
        }
        return true;
    }

    bool Sync(int fd) override { return fsync(fd) == 0; }

private:
    bool CopyThroughBuffer(int fd, off_t to, int sourceFd, off_t from, uint64_t length) {
        std::unique_ptr<char[]> buffer(new char[kCopyChunk]);
        while (length > 0) {
            const size_t want = length < kCopyChunk ? static_cast<size_t>(length) : kCopyChunk;
            const ssize_t got = pread(sourceFd, buffer.get(), want, from);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return false;
            if (got == 0) {
                errno = ENODATA;
                return false;
            }
            const auto size = static_cast<size_t>(got);
            if (!WriteAt(fd, static_cast<uint64_t>(to), std::string_view(buffer.get(), size)))
                return false;
            from += got;
            to += got;
            length -= size;
        }
        return true;
    }

    static constexpr size_t kCopyChunk = 1 << 20;

public:
    // A close interrupted by a signal has still released the descriptor.
    bool Close(int fd) override { return close(fd) == 0 || errno == EINTR; }
    bool Rename(const std::string& from, const std::string& to) override {
        return rename(from.c_str(), to.c_str()) == 0;
    }
    bool Unlink(const std::string& path) override { return unlink(path.c_str()) == 0; }
    bool Link(const std::string& from, const std::string& to) override {
        return linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
};

} // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

} // namespace kelvane
