// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/file_reader.h"
#include "platform/files/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The files of one save, put in place together or not at all. Each member
// is written to a temporary file in its target's folder (a nameless one
// where the file system has O_TMPFILE, so a crash leaves nothing behind),
// flushed to disk, and renamed over its target only by Commit, once every
// member is complete; a failure in any step, renames included, leaves every
// target as it was. A replaced file keeps its mode, owner and group; a
// target without write permission is refused. Named temporaries are
// ".NAME.kelvane-XXXXXX"; those a crash left are removed by the next
// locked save of the same name. Failures leave the errno value in Error().
class FileSetTransaction {
public:
    explicit FileSetTransaction(FileSystem& fileSystem = SystemFileSystem());
    ~FileSetTransaction(); // removes what was not committed, releases the lock
    FileSetTransaction(const FileSetTransaction&) = delete;
    FileSetTransaction& operator=(const FileSetTransaction&) = delete;

    // Holds an exclusive lock on saves to `projectPath` (a lock file
    // ".NAME.lock" beside it, removed on release), waiting at most
    // `timeoutSeconds`; EWOULDBLOCK when another save keeps it.
    bool Lock(const std::string& projectPath, int timeoutSeconds);

    // Starts the member that replaces `path`: its number, or -1.
    int Add(const std::string& path);
    bool WriteAt(int member, uint64_t offset, std::string_view bytes);
    // Copies `length` bytes from the start of the open file `source`.
    bool CopyAt(int member, uint64_t offset, NativeFile source, uint64_t length);
    // Gives the member its mode and owner and starts writing it to disk; it
    // is then complete and waits for Commit.
    bool Finish(int member);
    // Gives up a member that will not be completed.
    void Drop(int member);
    // Flushes every member to disk, renames each over its target and
    // flushes the folders; where flushes are deferred (deferred_flush.h),
    // only renames and notes the targets for a later flush.
    bool Commit();
    // After Commit: the file put in place for the member added as `path`,
    // as it was written, to tell it later from one another program puts
    // there.
    std::optional<FileIdentity> CommittedIdentity(const std::string& path) const;

    int Error() const { return m_error; }

private:
    struct Member {
        std::string given; // the path Add was given
        std::string target;
        std::string temp; // empty while nameless
        std::string backup;
        NativeFile file = NativeFile::None;
        bool exists = false;
        bool finished = false;
        bool dropped = false;
        unsigned mode = 0;
        unsigned owner = 0;
        unsigned group = 0;
        FileIdentity written;
    };

    bool Fail(int error);
    // A member that is open and not yet finished.
    bool IsWritable(int member) const;
    // ".NAME.kelvane-XXXXXX" in `folder`, open for writing.
    bool OpenNamedTemporary(Member& member, const std::string& folder);
    void PutBack(size_t renamed);
    void Discard();
    // What differs by system (file_set_transaction_posix.cpp, _windows.cpp).
    // Fills in whether the target exists and what it keeps; false, with the
    // error given to Fail, when it may not be replaced.
    bool ExamineTarget(Member& member);
    bool OpenTemporary(Member& member, const std::string& folder);
    bool NameTemporary(Member& member);
    void RemoveStaleTemporaries(const std::string& target);
    bool KeepModeAndOwner(Member& member);
    bool SyncFolders();
    void Unlock();

    FileSystem& m_fs;
    std::vector<Member> m_members;
    int m_error = 0;
    NativeFile m_lock = NativeFile::None;
    std::string m_lockPath;
    bool m_committed = false;
};

} // namespace kelvane
