// SPDX-License-Identifier: MIT
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

AtomicFileWriter::AtomicFileWriter(FileSetTransaction* set)
    : m_ownSet(set ? nullptr : std::make_unique<FileSetTransaction>()),
      m_set(set ? *set : *m_ownSet) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_member >= 0)
        m_set.Drop(m_member);
}

bool AtomicFileWriter::Fail() {
    m_error = m_set.Error();
    if (m_member >= 0)
        m_set.Drop(m_member);
    m_member = -1;
    return false;
}

bool AtomicFileWriter::Open(const std::string& path) {
    if (m_member >= 0)
        m_set.Drop(m_member);
    m_error = 0;
    m_position = 0;
    m_member = m_set.Add(path);
    return m_member >= 0 || Fail();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (!WriteAt(m_position, bytes))
        return false;
    m_position += bytes.size();
    return true;
}

bool AtomicFileWriter::Copy(int sourceFd, uint64_t length) {
    if (m_member < 0) {
        m_error = EBADF;
        return false;
    }
    if (!m_set.CopyAt(m_member, m_position, sourceFd, length))
        return Fail();
    m_position += length;
    return true;
}

bool AtomicFileWriter::WriteAt(uint64_t offset, std::string_view bytes) {
    if (m_member < 0) {
        m_error = EBADF;
        return false;
    }
    return m_set.WriteAt(m_member, offset, bytes) || Fail();
}

bool AtomicFileWriter::Commit() {
    if (m_member < 0) {
        m_error = EBADF;
        return false;
    }
    if (!m_set.Finish(m_member))
        return Fail();
    m_member = -1; // complete: from here on the set owns it
    if (m_ownSet && !m_ownSet->Commit()) {
        m_error = m_ownSet->Error();
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
