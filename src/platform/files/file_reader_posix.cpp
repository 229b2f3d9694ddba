// SPDX-License-Identifier: MIT
#include "platform/files/file_reader.h"

#include "platform/text/code_page.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

int DescriptorOf(NativeFile file) {
    return static_cast<int>(file);
}

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    stamp.modifySeconds = info.st_mtim.tv_sec;
    stamp.modifyNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), StampOf(info)};
}

} // namespace

bool IdentityOfFile(NativeFile file, FileIdentity& identity) {
    struct stat info {};
    if (fstat(DescriptorOf(file), &info) != 0)
        return false;
    identity = IdentityOf(info);
    return true;
}

PathKind KindOfPath(const std::string& path, FileIdentity* identity) {
    struct stat info {};
    if (stat(NativePath(path).c_str(), &info) != 0)
        return PathKind::Missing;
    if (S_ISDIR(info.st_mode))
        return PathKind::Folder;
    if (!S_ISREG(info.st_mode))
        return PathKind::Other;
    if (identity != nullptr)
        *identity = IdentityOf(info);
    return PathKind::RegularFile;
}

bool FileReader::Open(const std::string& path) {
    Close();
    m_error = 0;
    // Without O_NONBLOCK the open of a FIFO waits for a writer, for ever.
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    m_file = static_cast<NativeFile>(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        m_error = errno;
        Close();
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        Close();
        return false;
    }
    // Reads of a regular file do not block anyway; clear the flag so that
    // none of them can come back with EAGAIN.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        m_error = errno;
        Close();
        return false;
    }
    m_size = StampOf(info).size;
    m_opened = IdentityOf(info);
    return true;
}

void FileReader::Close() {
    if (IsOpen())
        close(DescriptorOf(m_file));
    m_file = NativeFile::None;
    m_size = 0;
}

size_t FileReader::ReadAt(uint64_t offset, void* destination, size_t length) {
    auto* bytes = static_cast<char*>(destination);
    size_t got = 0;
    while (IsOpen() && got < length) {
        const ssize_t n = pread(DescriptorOf(m_file), bytes + got, length - got,
                                static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : 0;
            break;
        }
        got += static_cast<size_t>(n);
    }
    return got;
}

} // namespace kelvane
