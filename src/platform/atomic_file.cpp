#include "platform/atomic_file.h"

#include "platform/code_page.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

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

mode_t ModeForNewFile() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAllAt(int fd, uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
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

} // namespace

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Fail() {
    m_error = errno;
    Discard();
    return false;
}

void AtomicFileWriter::Discard() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
        unlink(m_temp.c_str());
    }
}

bool AtomicFileWriter::Open(const std::string& path) {
    Discard();
    m_error = 0;
    m_position = 0;
    // The target and the temporary file are kept by their file-system names.
    m_target = ResolveWriteTarget(NativePath(path));
    struct stat existing {};
    const bool exists = stat(m_target.c_str(), &existing) == 0;
    // The temporary name is short, so a name the system cannot hold would
    // only fail at the rename, with the data already written; say it now.
    if (!exists && errno == ENAMETOOLONG) {
        m_error = ENAMETOOLONG;
        return false;
    }
    if (exists && S_ISDIR(existing.st_mode)) {
        m_error = EISDIR;
        return false;
    }
    m_mode = exists ? (existing.st_mode & 07777) : ModeForNewFile();
    m_temp = FolderOf(m_target) + "/.kelvane-XXXXXX";
    m_fd = mkstemp(m_temp.data());
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (!WriteAt(m_position, bytes))
        return false;
    m_position += bytes.size();
    return true;
}

bool AtomicFileWriter::WriteAt(uint64_t offset, std::string_view bytes) {
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    if (!WriteAllAt(m_fd, offset, bytes))
        return Fail();
    return true;
}

bool AtomicFileWriter::Commit() {
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    if (fchmod(m_fd, static_cast<mode_t>(m_mode)) != 0)
        return Fail();
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0 || rename(m_temp.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        unlink(m_temp.c_str());
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, int& error) {
    AtomicFileWriter file;
    const bool ok = file.Open(path) && file.Write(bytes) && file.Commit();
    error = ok ? 0 : file.Error();
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, int& error) {
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        error = EISDIR;
        return false;
    }
    std::string content;
    if (info.st_size > 0)
        content.reserve(static_cast<size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            close(fd);
            return false;
        }
        if (got == 0)
            break;
        content.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    bytes = std::move(content);
    return true;
}

} // namespace kelvane
