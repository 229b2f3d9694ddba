// SPDX-License-Identifier: MIT
#include "platform/process/host_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kelvane {

int TakeAnswerStream() {
    const int answer = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (answer < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return -1;
    return answer;
}

bool ReadRequestStream(std::string& bytes, size_t limit) {
    bytes.clear();
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (bytes.size() + static_cast<size_t>(got) > limit)
            return false;
        bytes.append(chunk, static_cast<size_t>(got));
    }
}

bool WriteAnswerStream(int stream, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(stream, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

void ReportCrashesTo(void (*)(const std::string&)) {}

} // namespace kelvane
