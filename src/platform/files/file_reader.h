// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/native_file.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kelvane {

// What changes when a file's content is changed in place. Not the change
// time: a rename or a new link moves it too, and a save makes both.
struct FileStamp {
    uint64_t size = 0;
    int64_t modifySeconds = 0, modifyNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// Which file it is, and its stamp: another file put in its place under the
// same name has another device or inode.
struct FileIdentity {
    uint64_t device = 0, inode = 0;
    FileStamp stamp;
    bool SameFile(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the open file; false when it cannot be asked.
bool IdentityOfFile(NativeFile file, FileIdentity& identity);

enum class PathKind { Missing, RegularFile, Folder, Other };
// What `path` (project code page) names, links followed; the identity of a
// regular file when asked. Missing also when it cannot be looked up, with
// errno saying why.
PathKind KindOfPath(const std::string& path, FileIdentity* identity = nullptr);

// A regular file opened for reading raw bytes at chosen offsets; closed when
// the object goes. Every file the program reads goes through here, so that a
// FIFO or a device put in a file's place can never block it.
class FileReader {
public:
    // Error() after Open for something that exists but is not a regular
    // file or a folder (a FIFO, a device, a socket); not an errno value.
    static constexpr int kNotRegularFile = -1;

    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False when the file cannot be opened for reading, with the errno value
    // in Error(): EISDIR for a folder, kNotRegularFile for other non-files.
    bool Open(const std::string& path);
    void Close();
    // The file's length in bytes.
    uint64_t Size() const { return m_size; }
    // Reads up to `length` bytes at `offset`; returns how many it got, fewer
    // at the end of the file or on an error.
    size_t ReadAt(uint64_t offset, void* destination, size_t length);
    // Reads the whole file from its start, handing `take` a piece of up to
    // 1 MiB at a time; false when a piece cannot be read or `take` says so.
    bool ReadInPieces(const std::function<bool(std::string_view piece)>& take);
    int Error() const { return m_error; }
    NativeFile Native() const { return m_file; }
    bool IsOpen() const { return m_file != NativeFile::None; }
    // True while the open file is as it was when opened: writing to it, or
    // cutting it, in place moves its modification time or its length. A
    // file put in its place under the same name leaves this one as it was.
    bool Unchanged();
    // True when both are open on one file with the same length and
    // modification time as each had when opened.
    bool SameFileAs(const FileReader& other) const;
    // The file as it was when opened.
    const FileIdentity& Identity() const { return m_opened; }

private:
    NativeFile m_file = NativeFile::None;
    int m_error = 0;
    uint64_t m_size = 0;
    FileIdentity m_opened;
};

} // namespace kelvane
