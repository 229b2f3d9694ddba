// SPDX-License-Identifier: MIT
#include "platform/file_set_transaction.h"

#include "platform/code_page.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

constexpr char kTempMarker[] = ".kelvane-";
constexpr size_t kRandomLength = 6;
// Room for the marker and the random part within a file name.
constexpr size_t kNameKept = 200;

// The file a write to `path` must replace: the end of a symbolic link chain.
std::string ResolveWriteTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path; // dangling link: replace the link itself
    std::string target = resolved;
    std::free(resolved);
    return target;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".NAME.kelvane-": what every temporary of `target` starts with.
std::string TempPrefix(const std::string& target) {
    return "." + NameOf(target).substr(0, kNameKept) + kTempMarker;
}

std::string RandomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string suffix;
    for (size_t i = 0; i < kRandomLength; ++i)
        suffix += kLetters[pick(generator)];
    return suffix;
}

std::string ProcFdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

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

bool FileSetTransaction::Lock(const std::string& projectPath, int timeoutSeconds) {
    Unlock();
    const std::string target = ResolveWriteTarget(NativePath(projectPath));
    const std::string path = FolderOf(target) + "/." + NameOf(target) + ".lock";
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(std::max(timeoutSeconds, 0));
    for (;;) {
        // Readable by all, so that another user's save can wait on it too.
        const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return Fail(errno);
        bool locked = false;
        while (!(locked = flock(fd, LOCK_EX | LOCK_NB) == 0) && errno == EWOULDBLOCK &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!locked) {
            const int error = errno == EINTR ? EWOULDBLOCK : errno;
            close(fd);
            return Fail(error);
        }
        // The holder before removes the file it locked; a lock on a file
        // that no longer has the name guards nothing.
        struct stat held {
        }, named{};
        if (fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_lockFd = fd;
            m_lockPath = path;
            return true;
        }
        close(fd);
    }
}

void FileSetTransaction::Unlock() {
    if (m_lockFd < 0)
        return;
    unlink(m_lockPath.c_str());
    close(m_lockFd);
    m_lockFd = -1;
}

int FileSetTransaction::Add(const std::string& path) {
    if (m_committed) {
        Fail(EINVAL);
        return -1;
    }
    Member member;
    member.given = path;
    member.target = ResolveWriteTarget(NativePath(path));
    struct stat existing {};
    member.exists = stat(member.target.c_str(), &existing) == 0;
    // The temporary name is short, so a name the system cannot hold would
    // only fail at the rename, with the data already written; say it now.
    if (!member.exists && errno == ENAMETOOLONG) {
        Fail(ENAMETOOLONG);
        return -1;
    }
    if (member.exists) {
        if (S_ISDIR(existing.st_mode)) {
            Fail(EISDIR);
            return -1;
        }
        // A file that may not be written is not replaced either, even by
        // root, who could write it.
        if ((existing.st_mode & 0222) == 0 || access(member.target.c_str(), W_OK) != 0) {
            Fail(errno == EROFS ? EROFS : EACCES);
            return -1;
        }
        member.mode = existing.st_mode & 07777;
        member.owner = existing.st_uid;
        member.group = existing.st_gid;
    }
    if (m_lockFd >= 0)
        RemoveStaleTemporaries(member.target);
    if (!OpenTemporary(member, FolderOf(member.target))) {
        Fail(errno);
        return -1;
    }
    m_members.push_back(std::move(member));
    return static_cast<int>(m_members.size() - 1);
}

bool FileSetTransaction::OpenTemporary(Member& member, const std::string& folder) {
#ifdef O_TMPFILE
    // A nameless file gets its name only from Commit; /proc is what gives
    // it one without privileges.
    member.fd = m_fs.Open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (member.fd >= 0) {
        if (access(ProcFdPath(member.fd).c_str(), F_OK) == 0)
            return true;
        m_fs.Close(member.fd);
        member.fd = -1;
    }
#endif
    const std::string prefix = folder + "/" + TempPrefix(member.target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        member.temp = prefix + RandomSuffix();
        member.fd = m_fs.Open(member.temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (member.fd >= 0 || errno != EEXIST)
            break;
    }
    if (member.fd < 0)
        member.temp.clear();
    return member.fd >= 0;
}

bool FileSetTransaction::NameTemporary(Member& member) {
    const std::string prefix = FolderOf(member.target) + "/" + TempPrefix(member.target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + RandomSuffix();
        if (m_fs.Link(ProcFdPath(member.fd), name)) {
            member.temp = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void FileSetTransaction::RemoveStaleTemporaries(const std::string& target) {
    DIR* folder = opendir(FolderOf(target).c_str());
    if (folder == nullptr)
        return;
    const std::string prefix = TempPrefix(target);
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + kRandomLength &&
            name.compare(0, prefix.size(), prefix) == 0)
            stale.push_back(FolderOf(target) + "/" + name);
    }
    closedir(folder);
    for (const std::string& path : stale)
        m_fs.Unlink(path);
}

bool FileSetTransaction::IsWritable(int member) const {
    return member >= 0 && static_cast<size_t>(member) < m_members.size() &&
           m_members[member].fd >= 0 && !m_members[member].finished;
}

bool FileSetTransaction::WriteAt(int member, uint64_t offset, std::string_view bytes) {
    if (!IsWritable(member))
        return Fail(EBADF);
    return m_fs.WriteAt(m_members[member].fd, offset, bytes) || Fail(errno);
}

bool FileSetTransaction::CopyAt(int member, uint64_t offset, int sourceFd, uint64_t length) {
    if (!IsWritable(member))
        return Fail(EBADF);
    return m_fs.CopyAt(m_members[member].fd, offset, sourceFd, 0, length) || Fail(errno);
}

bool FileSetTransaction::Finish(int member) {
    if (!IsWritable(member))
        return Fail(EBADF);
    Member& m = m_members[member];
    if (m.exists) {
        // Owner first: a change of owner clears the set-id bits. Only root
        // may give a file away; anyone else keeps being its owner.
        if (fchown(m.fd, m.owner, m.group) != 0 && errno != EPERM)
            return Fail(errno);
        if (fchmod(m.fd, static_cast<mode_t>(m.mode)) != 0)
            return Fail(errno);
    }
    // The disk starts on it now and is flushed with the others at Commit, so
    // the members' writes overlap instead of waiting for each other.
    sync_file_range(m.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    m.finished = true;
    return true;
}

void FileSetTransaction::Drop(int member) {
    if (member < 0 || static_cast<size_t>(member) >= m_members.size())
        return;
    Member& m = m_members[member];
    if (m.fd >= 0)
        m_fs.Close(m.fd);
    m.fd = -1;
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

    for (Member& m : m_members) {
        if (!m_fs.Sync(m.fd) || !IdentityOfDescriptor(m.fd, m.written))
            return Fail(errno);
        // A nameless file stays open until it is linked.
        if (m.temp.empty())
            continue;
        const int fd = m.fd;
        m.fd = -1;
        if (!m_fs.Close(fd))
            return Fail(errno);
    }
    for (Member& m : m_members) {
        if (!m.temp.empty())
            continue;
        if (!NameTemporary(m))
            return Fail(errno);
        const int fd = m.fd;
        m.fd = -1;
        if (!m_fs.Close(fd))
            return Fail(errno);
    }
    // A second name for each file replaced, so that a failed rename can put
    // back those renamed before it. Without hard links there is no way back.
    for (Member& m : m_members) {
        if (!m.exists)
            continue;
        const std::string prefix = FolderOf(m.target) + "/" + TempPrefix(m.target);
        std::string name = prefix + RandomSuffix();
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
    std::vector<std::string> folders;
    for (const Member& m : m_members)
        if (std::find(folders.begin(), folders.end(), FolderOf(m.target)) == folders.end())
            folders.push_back(FolderOf(m.target));
    for (const std::string& folder : folders) {
        const int fd = m_fs.Open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        int error = fd < 0 ? errno : 0;
        if (fd >= 0 && !m_fs.Sync(fd))
            error = errno;
        if (fd >= 0 && !m_fs.Close(fd) && error == 0)
            error = errno;
        if (error != 0) {
            PutBack(m_members.size());
            return Fail(error);
        }
    }
    m_committed = true;
    for (Member& m : m_members) {
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
