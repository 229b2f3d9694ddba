// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Skips the rest of a test on Windows, saying why.
#ifdef _WIN32
#define KELVANE_SKIP_ON_WINDOWS(why) GTEST_SKIP() << (why)
#else
#define KELVANE_SKIP_ON_WINDOWS(why) static_cast<void>(0)
#endif

namespace kelvane::test {

#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // In the system's own form, as the program makes paths absolute: "a/b"
    // is "a\\b" on Windows.
    std::string File(std::string name) const {
        if (kOnWindows)
            std::replace(name.begin(), name.end(), '/', '\\');
        return m_path + (kOnWindows ? "\\" : "/") + name;
    }

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

// A file's modification time exactly as the system keeps it, to be put back
// after a write.
struct ModifyTime {
    int64_t seconds = 0, nanoseconds = 0;
};
ModifyTime ModifyTimeOf(const std::string& path);
void SetModifyTime(const std::string& path, const ModifyTime& time);

// A path that names something other than a regular file: a FIFO made at
// `path` on POSIX, the NUL device on Windows.
std::string NotARegularFile(const std::string& path);

// Runs `body` in a child process that is killed after `seconds`, so that a
// call which blocks (an open of a FIFO) fails the test instead of hanging
// the suite. The text `body` returned, or nothing when it did not finish.
std::optional<std::string> RunWithin(unsigned seconds, const std::function<std::string()>& body);
std::string ReadBytes(const std::string& path);

} // namespace kelvane::test
