// SPDX-License-Identifier: MIT
#include "platform/file_reader.h"

#include "platform/code_page.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    stamp.modifySeconds = info.st_mtim.tv_sec;
    stamp.modifyNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace

bool IdentityOfDescriptor(int fd, FileIdentity& identity) {
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return false;
    identity = {info.st_dev, info.st_ino, StampOf(info)};
    return true;
}

FileReader::~FileReader() {
    Close();
}

bool FileReader::Open(const std::string& path) {
    Close();
    m_error = 0;
    // Without O_NONBLOCK the open of a FIFO waits for a writer, for ever.
    m_fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat info {};
    if (fstat(m_fd, &info) != 0) {
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
    const int flags = fcntl(m_fd, F_GETFL);
    if (flags < 0 || fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        m_error = errno;
        Close();
        return false;
    }
    m_size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    m_opened = {info.st_dev, info.st_ino, StampOf(info)};
    return true;
}

bool FileReader::SameFileAs(const FileReader& other) const {
    return m_fd >= 0 && other.m_fd >= 0 && m_opened == other.m_opened;
}

bool FileReader::Unchanged() {
    struct stat info {};
    if (m_fd < 0 || fstat(m_fd, &info) != 0)
        return false;
    return StampOf(info) == m_opened.stamp;
}

void FileReader::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_size = 0;
}

size_t FileReader::ReadAt(uint64_t offset, void* destination, size_t length) {
    auto* bytes = static_cast<char*>(destination);
    size_t got = 0;
    while (m_fd >= 0 && got < length) {
        const ssize_t n = pread(m_fd, bytes + got, length - got, static_cast<off_t>(offset + got));
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

bool FileReader::ReadInPieces(const std::function<bool(std::string_view)>& take) {
    constexpr size_t kPiece = size_t(1) << 20;
    const std::unique_ptr<char[]> buffer(
        new char[static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(m_size, 1), kPiece))]);
    for (uint64_t at = 0; at < m_size; at += kPiece) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(m_size - at, kPiece));
        if (ReadAt(at, buffer.get(), length) != length ||
            !take(std::string_view(buffer.get(), length)))
            return false;
    }
    return true;
}

} // namespace kelvane
