// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/file_system.h"

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

    NativeFile Open(const std::string& path, FileOpening how) override {
        return Fails(kOpen) ? NativeFile::None : SystemFileSystem().Open(path, how);
    }
    bool WriteAt(NativeFile file, uint64_t offset, std::string_view bytes) override {
        return !Fails(kWrite) && SystemFileSystem().WriteAt(file, offset, bytes);
    }
    // A copy is a write of the member it fills.
    bool CopyAt(NativeFile file, uint64_t offset, NativeFile source, uint64_t sourceOffset,
                uint64_t length) override {
        return !Fails(kWrite) &&
               SystemFileSystem().CopyAt(file, offset, source, sourceOffset, length);
    }
    bool Sync(NativeFile file) override { return !Fails(kSync) && SystemFileSystem().Sync(file); }
    // A failed close has still released the descriptor, as on Linux.
    bool Close(NativeFile file) override {
        const bool fails = Fails(kClose);
        const bool closed = SystemFileSystem().Close(file);
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
