// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/file_set_transaction.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kelvane {

// A file written in steps into a temporary file in the target's folder and
// put in the target's place only by Commit, so that a write that fails part
// way, or is abandoned, leaves the previous file as it was. A symbolic link
// is followed and its target replaced; an existing file keeps its mode,
// owner and group, and one that may not be written is refused. Given a
// FileSetTransaction, the file is one member of it and is renamed with the
// others by the transaction's Commit. Each step returns false with the
// errno value in Error().
class AtomicFileWriter {
public:
    // A member of `set`; without one, a set of its own.
    explicit AtomicFileWriter(FileSetTransaction* set = nullptr);
    ~AtomicFileWriter(); // discards an uncommitted temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(const std::string& path);
    // Appends at the current end.
    bool Write(std::string_view bytes);
    // Appends the first `length` bytes of the open file `source`.
    bool Copy(NativeFile source, uint64_t length);
    // Overwrites bytes already written, from `offset` on.
    bool WriteAt(uint64_t offset, std::string_view bytes);
    uint64_t Position() const { return m_position; }
    // Flushes the file to disk and, in a set of its own, puts it in the
    // target's place; in a shared set it waits for the set's Commit.
    bool Commit();
    int Error() const { return m_error; }

private:
    bool Fail();

    std::unique_ptr<FileSetTransaction> m_ownSet;
    FileSetTransaction& m_set;
    int m_member = -1;
    int m_error = 0;
    uint64_t m_position = 0;
};

// Writes `bytes` through an AtomicFileWriter in one step.
// On failure returns false with the errno value of the cause in `error`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, int& error);

// Reads a whole file as raw bytes. False (with the errno value in `error`)
// when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error);

} // namespace kelvane
