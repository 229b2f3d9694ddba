// SPDX-License-Identifier: MIT
#include "test_files.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kelvane::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
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
