// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_system.h"

#include <cerrno>

namespace kelvane::test {

// The system's file calls, one of which can be made to fail: the
// `failAt`-th call (from 1) of `failing`, with EIO. Calls are counted
// by kind whether or not one fails.
class FaultyFileSystem : public FileSystem {
public:
    enum Call { kOpen, kWrite, kSync, kClose, kRename, kUnlink, kLink, kCallKinds };

    Call failing = kWrite;
    int failAt = 0; // 0: nothing fails
    int counts[kCallKinds] = {};
    bool failed = false; // whether the chosen call came and failed

    int Open(const std::string& path, int flags, unsigned mode) override {
        return Fails(kOpen) ? -1 : SystemFileSystem().Open(path, flags, mode);
    }
    bool WriteAt(int fd, uint64_t offset, std::string_view bytes) override {
        return !Fails(kWrite) && SystemFileSystem().WriteAt(fd, offset, bytes);
    }
    // A copy is a write of the member it fills.
    bool CopyAt(int fd, uint64_t offset, int sourceFd, uint64_t sourceOffset,
                uint64_t length) override {
        return !Fails(kWrite) &&
               SystemFileSystem().CopyAt(fd, offset, sourceFd, sourceOffset, length);
    }
    bool Sync(int fd) override { return !Fails(kSync) && SystemFileSystem().Sync(fd); }
    // A failed close has still released the descriptor, as on Linux.
    bool Close(int fd) override {
        const bool fails = Fails(kClose);
        const bool closed = SystemFileSystem().Close(fd);
        if (fails)
            errno = EIO;
        return !fails && closed;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return !Fails(kRename) && SystemFileSystem().Rename(from, to);
    }
    bool Unlink(const std::string& path) override {
        return !Fails(kUnlink) && SystemFileSystem().Unlink(path);
    }
    bool Link(const std::string& from, const std::string& to) override {
        return !Fails(kLink) && SystemFileSystem().Link(from, to);
    }

private:
    bool Fails(Call call) {
        if (++counts[call] != failAt || call != failing)
            return false;
        failed = true;
        errno = EIO;
        return true;
    }
};

} // namespace kelvane::test
