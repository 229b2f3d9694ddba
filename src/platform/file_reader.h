#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane {

// A file opened for reading raw bytes at chosen offsets; closed when the
// object goes.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False with the errno value in Error() when the file cannot be opened
    // for reading (a folder counts as unreadable).
    bool Open(const std::string& path);
    void Close();
    // The file's length in bytes.
    uint64_t Size() const { return m_size; }
    // Reads up to `length` bytes at `offset`; returns how many it got, fewer
    // at the end of the file or on an error.
    size_t ReadAt(uint64_t offset, void* destination, size_t length);
    int Error() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
    uint64_t m_size = 0;
};

} // namespace kelvane
