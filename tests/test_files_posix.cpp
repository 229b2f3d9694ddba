// SPDX-License-Identifier: MIT
#include "test_files.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace kelvane::test {
namespace {

#ifdef KELVANE_TEST_WINE_PREFIX
// The tests' own Wine prefix, made before they run (tests/wine_prefix.sh),
// never the user's; a test that needs another one sets it itself.
[[maybe_unused]] const bool g_winePrefixSet =
    setenv("WINEPREFIX", KELVANE_TEST_WINE_PREFIX, 1) == 0;
#endif

} // namespace

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

ModifyTime ModifyTimeOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw std::runtime_error("cannot stat " + path);
    return {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

void SetModifyTime(const std::string& path, const ModifyTime& time) {
    const timespec times[2] = {{time.seconds, time.nanoseconds}, {time.seconds, time.nanoseconds}};
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

std::string NotARegularFile(const std::string& path) {
    if (mkfifo(path.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make the FIFO " + path);
    return path;
}

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_savedCurrent = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_savedCurrent;
    setrlimit(RLIMIT_FSIZE, &limit);
}

std::optional<std::string> RunWithin(unsigned seconds, const std::function<std::string()>& body) {
    int channel[2];
    if (pipe(channel) != 0)
        throw std::runtime_error("cannot create a pipe");
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        close(channel[0]);
        alarm(seconds); // the default action ends the child
        const std::string text = body();
        size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t n = write(channel[1], text.data() + sent, text.size() - sent);
            if (n <= 0)
                _exit(2);
            sent += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(channel[1]);
    std::string text;
    char chunk[4096];
    ssize_t n;
    while ((n = read(channel[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

} // namespace kelvane::test
