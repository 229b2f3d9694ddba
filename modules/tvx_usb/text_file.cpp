// SPDX-License-Identifier: MIT
#include "text_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx_usb {

std::string ReadTextFile(const std::string& path, size_t limit) {
    // Checked before opening too: opening some devices has effects of its own.
    struct stat info {};
    if (limit == 0 || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    std::string text;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // One byte beyond the limit tells whether the file goes on.
        char chunk[16384];
        bool failed = false;
        while (text.size() <= limit) {
            const size_t want = std::min(sizeof chunk, limit + 1 - text.size());
            const ssize_t count = read(fd, chunk, want);
            if (count < 0 && errno == EINTR)
                continue;
            failed = count < 0;
            if (count <= 0)
                break;
            text.append(chunk, static_cast<size_t>(count));
        }
        if (failed) {
            text.clear(); // half a file could end in half a line
        } else if (text.size() > limit) {
            const size_t end = text.rfind('\n', limit - 1);
            text.resize(end == std::string::npos ? 0 : end + 1);
        }
    }
    close(fd);
    return text;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view WithoutBom(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom)
        text.remove_prefix(kBom.size());
    return text;
}

bool NextLine(std::string_view& text, std::string_view& line) {
    if (text.empty())
        return false;
    const size_t end = text.find('\n');
    line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

} // namespace tvx_usb
