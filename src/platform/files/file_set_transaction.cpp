// SPDX-License-Identifier: MIT
#include "platform/files/file_set_transaction.h"

#include "platform/files/deferred_flush.h"
#include "platform/files/file_set_paths.h"
#include "platform/text/code_page.h"

#include <algorithm>
#include <cerrno>
#include <random>

namespace kelvane {
namespace {

constexpr char kTempMarker[] = ".kelvane-";
// Room for the marker and the random part within a file name.
constexpr size_t kNameKept = 200;

} // namespace

std::string TemporaryPrefix(const std::string& target) {
    return "." + NameOfSystemPath(target).substr(0, kNameKept) + kTempMarker;
}

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string suffix;
    for (size_t i = 0; i < kTemporaryRandomLength; ++i)
        suffix += kLetters[pick(generator)];
    return suffix;
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kTemporaryRandomLength &&
           name.compare(0, prefix.size(), prefix) == 0;
}

bool FileSetTransaction::OpenNamedTemporary(Member& member, const std::string& folder) {
    const std::string prefix = InFolder(folder, TemporaryPrefix(member.target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        member.temp = prefix + RandomSuffix();
        member.file = m_fs.Open(member.temp, FileOpening::NewFile);
        if (member.file != NativeFile::None || errno != EEXIST)
            break;
    }
    if (member.file == NativeFile::None)
        member.temp.clear();
    return member.file != NativeFile::None;
}

FileSetTransaction::FileSetTransaction(FileSystem& fileSystem) : m_fs(fileSystem) {}

FileSetTransaction::~FileSetTransaction() {
    if (!m_committed)
        Discard();
    Unlock();
}

bool FileSetTransaction::Fail(int error) {
    m_error = error;
    return false;
}

int FileSetTransaction::Add(const std::string& path) {
    if (m_committed) {
        Fail(EINVAL);
        return -1;
    }
    Member member;
    member.given = path;
    if (!ExamineTarget(member))
        return -1;
    if (m_lock != NativeFile::None)
        RemoveStaleTemporaries(member.target);
    if (!OpenTemporary(member, FolderOfSystemPath(member.target))) {
        Fail(errno);
        return -1;
    }
    m_members.push_back(std::move(member));
    return static_cast<int>(m_members.size() - 1);
}

bool FileSetTransaction::IsWritable(int member) const {
    return member >= 0 && static_cast<size_t>(member) < m_members.size() &&
           m_members[member].file != NativeFile::None && !m_members[member].finished;
}

bool FileSetTransaction::WriteAt(int member, uint64_t offset, std::string_view bytes) {
    if (!IsWritable(member))
        return Fail(EBADF);
    return m_fs.WriteAt(m_members[member].file, offset, bytes) || Fail(errno);
}

bool FileSetTransaction::CopyAt(int member, uint64_t offset, NativeFile source, uint64_t length) {
    if (!IsWritable(member))
        return Fail(EBADF);
    return m_fs.CopyAt(m_members[member].file, offset, source, 0, length) || Fail(errno);
}

bool FileSetTransaction::Finish(int member) {
    if (!IsWritable(member))
        return Fail(EBADF);
    if (!KeepModeAndOwner(m_members[member]))
        return false;
    m_members[member].finished = true;
    return true;
}

void FileSetTransaction::Drop(int member) {
    if (member < 0 || static_cast<size_t>(member) >= m_members.size())
        return;
    Member& m = m_members[member];
    if (m.file != NativeFile::None)
        m_fs.Close(m.file);
    m.file = NativeFile::None;
    if (!m.temp.empty())
        m_fs.Unlink(m.temp);
    m.temp.clear();
    m.dropped = true;
}

void FileSetTransaction::Discard() {
    for (size_t i = 0; i < m_members.size(); ++i) {
        Drop(static_cast<int>(i));
        if (!m_members[i].backup.empty())
            m_fs.Unlink(m_members[i].backup);
        m_members[i].backup.clear();
    }
}

void FileSetTransaction::PutBack(size_t renamed) {
    for (size_t i = 0; i < renamed; ++i) {
        Member& m = m_members[i];
        if (!m.backup.empty()) {
            // A backup that could not be put back is left, not removed: it
            // is the only copy of the previous file.
            m_fs.Rename(m.backup, m.target);
            m.backup.clear();
        } else if (!m.exists) {
            m_fs.Unlink(m.target);
        }
        m.temp.clear(); // the name went with the rename
    }
}

bool FileSetTransaction::Commit() {
    if (m_committed)
        return Fail(EINVAL);
    for (const Member& m : m_members)
        if (!m.finished || m.dropped)
            return Fail(EINVAL);

    const bool deferred = FlushesDeferred();
    for (Member& m : m_members) {
        if ((!deferred && !m_fs.Sync(m.file)) || !IdentityOfFile(m.file, m.written))
            return Fail(errno);
        // A nameless file stays open until it is linked.
        if (m.temp.empty())
            continue;
        const NativeFile file = m.file;
        m.file = NativeFile::None;
        if (!m_fs.Close(file))
            return Fail(errno);
    }
    for (Member& m : m_members) {
        if (!m.temp.empty())
            continue;
        if (!NameTemporary(m))
            return Fail(errno);
        const NativeFile file = m.file;
        m.file = NativeFile::None;
        if (!m_fs.Close(file))
            return Fail(errno);
    }
    // A second name for each file replaced, so that a failed rename can put
    // back those renamed before it. Without hard links there is no way back.
    for (Member& m : m_members) {
        if (!m.exists)
            continue;
        const std::string name =
            InFolder(FolderOfSystemPath(m.target), TemporaryPrefix(m.target) + RandomSuffix());
        if (m_fs.Link(m.target, name))
            m.backup = name;
    }
    for (size_t i = 0; i < m_members.size(); ++i) {
        if (!m_fs.Rename(m_members[i].temp, m_members[i].target)) {
            const int error = errno;
            PutBack(i);
            return Fail(error);
        }
    }
    if (!deferred && !SyncFolders()) {
        const int error = errno;
        PutBack(m_members.size());
        return Fail(error);
    }
    m_committed = true;
    for (Member& m : m_members) {
        if (deferred)
            NoteDeferredFlush(m.target);
        m.temp.clear();
        if (!m.backup.empty())
            m_fs.Unlink(m.backup);
        m.backup.clear();
    }
    return true;
}

std::optional<FileIdentity> FileSetTransaction::CommittedIdentity(const std::string& path) const {
    if (m_committed)
        for (const Member& m : m_members)
            if (m.given == path)
                return m.written;
    return std::nullopt;
}

} // namespace kelvane
