#include "platform/file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace kelvane {
namespace {

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

    bool Sync(int fd) override { return fsync(fd) == 0; }
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
