// SPDX-License-Identifier: MIT
#include "platform/files/atomic_file.h"

#include "platform/files/file_reader.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

bool AtomicFileWriter::Copy(NativeFile source, uint64_t length) {
    if (m_member < 0) {
        m_error = EBADF;
        return false;
    }
    if (!m_set.CopyAt(m_member, m_position, source, length))
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
    FileReader file;
    if (!file.Open(path)) {
        // Not an errno value: a FIFO or a device is refused as EINVAL says.
        error = file.Error() == FileReader::kNotRegularFile ? EINVAL : file.Error();
        return false;
    }
    std::string content;
    content.reserve(static_cast<size_t>(file.Size()));
    if (!file.ReadInPieces([&](std::string_view piece) {
            content.append(piece);
            return true;
        })) {
        error = file.Error() != 0 ? file.Error() : EIO;
        return false;
    }
    bytes = std::move(content);
    error = 0;
    return true;
}

} // namespace kelvane
