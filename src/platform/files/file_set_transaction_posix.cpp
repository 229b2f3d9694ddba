// SPDX-License-Identifier: MIT
#include "platform/files/file_set_paths.h"
#include "platform/files/file_set_transaction.h"
#include "platform/text/code_page.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kelvane {
namespace {

int Fd(NativeFile file) {
    return static_cast<int>(file);
}

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

std::string ProcFdPath(NativeFile file) {
    return "/proc/self/fd/" + std::to_string(Fd(file));
}

} // namespace

std::string FolderOfSystemPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOfSystemPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

bool FileSetTransaction::Lock(const std::string& projectPath, int timeoutSeconds) {
    Unlock();
    const std::string target = ResolveWriteTarget(NativePath(projectPath));
    const std::string path =
        InFolder(FolderOfSystemPath(target), "." + NameOfSystemPath(target) + ".lock");
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
            m_lock = static_cast<NativeFile>(fd);
            m_lockPath = path;
            return true;
        }
        close(fd);
    }
}

void FileSetTransaction::Unlock() {
    if (m_lock == NativeFile::None)
        return;
    unlink(m_lockPath.c_str());
    close(Fd(m_lock));
    m_lock = NativeFile::None;
}

bool FileSetTransaction::ExamineTarget(Member& member) {
    member.target = ResolveWriteTarget(NativePath(member.given));
    struct stat existing {};
    member.exists = stat(member.target.c_str(), &existing) == 0;
    // The temporary name is short, so a name the system cannot hold would
    // only fail at the rename, with the data already written; say it now.
    if (!member.exists && errno == ENAMETOOLONG)
        return Fail(ENAMETOOLONG);
    if (!member.exists)
        return true;
    if (S_ISDIR(existing.st_mode))
        return Fail(EISDIR);
    // A file that may not be written is not replaced either, even by root,
    // who could write it.
    if ((existing.st_mode & 0222) == 0 || access(member.target.c_str(), W_OK) != 0)
        return Fail(errno == EROFS ? EROFS : EACCES);
    member.mode = existing.st_mode & 07777;
    member.owner = existing.st_uid;
    member.group = existing.st_gid;
    return true;
}

bool FileSetTransaction::OpenTemporary(Member& member, const std::string& folder) {
    // A nameless file gets its name only from Commit; /proc is what gives
    // it one without privileges.
    member.file = m_fs.Open(folder, FileOpening::NamelessFile);
    if (member.file != NativeFile::None) {
        if (access(ProcFdPath(member.file).c_str(), F_OK) == 0)
            return true;
        m_fs.Close(member.file);
        member.file = NativeFile::None;
    }
    return OpenNamedTemporary(member, folder);
}

bool FileSetTransaction::NameTemporary(Member& member) {
    const std::string prefix =
        InFolder(FolderOfSystemPath(member.target), TemporaryPrefix(member.target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + RandomSuffix();
        if (m_fs.Link(ProcFdPath(member.file), name)) {
            member.temp = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void FileSetTransaction::RemoveStaleTemporaries(const std::string& target) {
    const std::string folderPath = FolderOfSystemPath(target);
    DIR* folder = opendir(folderPath.c_str());
    if (folder == nullptr)
        return;
    const std::string prefix = TemporaryPrefix(target);
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(folder))
        if (IsTemporaryName(entry->d_name, prefix))
            stale.push_back(InFolder(folderPath, entry->d_name));
    closedir(folder);
    for (const std::string& path : stale)
        m_fs.Unlink(path);
}

bool FileSetTransaction::KeepModeAndOwner(Member& m) {
    const int fd = Fd(m.file);
    if (m.exists) {
        // Owner first: a change of owner clears the set-id bits. Only root
        // may give a file away; anyone else keeps being its owner.
        if (fchown(fd, m.owner, m.group) != 0 && errno != EPERM)
            return Fail(errno);
        if (fchmod(fd, static_cast<mode_t>(m.mode)) != 0)
            return Fail(errno);
    }
    // The disk starts on it now and is flushed with the others at Commit, so
    // the members' writes overlap instead of waiting for each other.
    sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    return true;
}

bool FileSetTransaction::SyncFolders() {
    std::vector<std::string> folders;
    for (const Member& m : m_members)
        if (std::find(folders.begin(), folders.end(), FolderOfSystemPath(m.target)) ==
            folders.end())
            folders.push_back(FolderOfSystemPath(m.target));
    for (const std::string& folder : folders) {
        const NativeFile file = m_fs.Open(folder, FileOpening::Folder);
        int error = file == NativeFile::None ? errno : 0;
        if (file != NativeFile::None && !m_fs.Sync(file))
            error = errno;
        if (file != NativeFile::None && !m_fs.Close(file) && error == 0)
            error = errno;
        if (error != 0) {
            errno = error;
            return false;
        }
    }
    return true;
}

} // namespace kelvane
