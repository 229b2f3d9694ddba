// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kelvane::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Limits the size of files this process may write while it lives, so that a
// write fails part-way as on a full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(unsigned long bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    unsigned long m_savedCurrent;
};

void WriteBytes(const std::string& path, const std::string& bytes);

// Runs `body` in a child process that is killed after `seconds`, so that a
// call which blocks (an open of a FIFO) fails the test instead of hanging
// the suite. The text `body` returned, or nothing when it did not finish.
std::optional<std::string> RunWithin(unsigned seconds, const std::function<std::string()>& body);
std::string ReadBytes(const std::string& path);

} // namespace kelvane::test
