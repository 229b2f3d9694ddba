// SPDX-License-Identifier: MIT
#include "platform/files/file_system.h"

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

int FlagsOf(FileOpening how) {
    switch (how) {
    case FileOpening::NewFile:
        return O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    case FileOpening::NamelessFile:
#ifdef O_TMPFILE
        return O_TMPFILE | O_WRONLY | O_CLOEXEC;
#else
        return -1;
#endif
    case FileOpening::Folder:
        return O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    }
    return -1;
}

int Fd(NativeFile file) {
    return static_cast<int>(file);
}

class PosixFileSystem final : public FileSystem {
public:
    NativeFile Open(const std::string& path, FileOpening how) override {
        const int flags = FlagsOf(how);
        if (flags == -1) {
            errno = EOPNOTSUPP;
            return NativeFile::None;
        }
        int fd;
        do
            fd = open(path.c_str(), flags, 0666);
        while (fd < 0 && errno == EINTR);
        return fd < 0 ? NativeFile::None : static_cast<NativeFile>(fd);
    }

    bool WriteAt(NativeFile file, uint64_t offset, std::string_view bytes) override {
        const int fd = Fd(file);
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

    bool CopyAt(NativeFile file, uint64_t offset, NativeFile source, uint64_t sourceOffset,
                uint64_t length) override {
        const int fd = Fd(file), sourceFd = Fd(source);
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

    bool Sync(NativeFile file) override { return fsync(Fd(file)) == 0; }

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
            if (!WriteAt(static_cast<NativeFile>(fd), static_cast<uint64_t>(to),
                         std::string_view(buffer.get(), size)))
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
    bool Close(NativeFile file) override { return close(Fd(file)) == 0 || errno == EINTR; }
    bool Rename(const std::string& from, const std::string& to) override {
        return rename(from.c_str(), to.c_str()) == 0;
    }
    bool Unlink(const std::string& path) override { return unlink(path.c_str()) == 0; }
    bool Link(const std::string& from, const std::string& to) override {
        return linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
};

} // namespace

const bool kOpenFilesCanBeReplaced = true;

FileSystem& SystemFileSystem() {
    static PosixFileSystem system;
    return system;
}

} // namespace kelvane
