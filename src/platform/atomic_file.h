#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// A file written in steps into a temporary file in the target's folder and
// renamed over the target only by Commit, so that a write that fails part
// way, or is abandoned, leaves the previous file as it was. A symbolic link
// is followed and its target replaced; an existing file keeps its
// permission bits. Each step returns false with the errno value in Error().
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter(); // discards an uncommitted temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(const std::string& path);
    // Appends at the current end.
    bool Write(std::string_view bytes);
    // Overwrites bytes already written, from `offset` on.
    bool WriteAt(uint64_t offset, std::string_view bytes);
    uint64_t Position() const { return m_position; }
    // Closes the temporary file and puts it in the target's place.
    bool Commit();
    int Error() const { return m_error; }

private:
    bool Fail();
    void Discard();

    int m_fd = -1;
    int m_error = 0;
    uint64_t m_position = 0;
    unsigned m_mode = 0;
    std::string m_target;
    std::string m_temp;
};

// Writes `bytes` through an AtomicFileWriter in one step.
// On failure returns false with the errno value of the cause in `error`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, int& error);

// Reads a whole file as raw bytes. False (with the errno value in `error`)
// when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error);

} // namespace kelvane
