#include "platform/atomic_file.h"

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

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, int& error) {
    const std::string target = ResolveWriteTarget(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = EISDIR;
        return false;
    }

    std::string temp = FolderOf(target) + "/.kelvane-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = errno;
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    error = ok ? 0 : errno;
    if (ok && fchmod(fd, exists ? (existing.st_mode & 07777) : ModeForNewFile()) != 0) {
        ok = false;
        error = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, int& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
