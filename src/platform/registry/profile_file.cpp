// SPDX-License-Identifier: MIT
#include "platform/registry/profile_file.h"

#include "platform/files/file_reader.h"

#include <cstdlib>

namespace kelvane {

std::string ProfileFilePath() {
    // QSettings takes XDG_CONFIG_HOME only when it is an absolute path.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] != '\0') {
        if (config[0] != '/')
            return {};
        return std::string(config) + "/KVX/KLVN_MAIN.conf";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return {};
    return std::string(home) + "/.config/KVX/KLVN_MAIN.conf";
}

bool IsVerbatimProfileValue(std::string_view value) {
    if (!value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '@'))
        return false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80)
            continue; // UTF-8, written as it is
        if (byte < 0x20 || byte == 0x7F)
            return false;
        switch (c) {
        case '"':
        case '\\':
        case ',':
        case ';':
        case '=':
        case '#':
            return false;
        default:
            break;
        }
    }
    return true;
}

std::optional<std::string> VerbatimStoredProfileValue(std::string_view section,
                                                      std::string_view entry) {
    // Through the reader, so that a FIFO in the file's place cannot block.
    // A settings file of this size is not one QSettings wrote for us.
    constexpr uint64_t kLargestExpected = 1 << 20;
    const std::string path = ProfileFilePath();
    FileReader file;
    if (path.empty() || !file.Open(path) || file.Size() > kLargestExpected)
        return std::nullopt;
    std::string text(static_cast<size_t>(file.Size()), '\0');
    if (file.ReadAt(0, text.data(), text.size()) != text.size())
        return std::nullopt;
    const std::string header = "[" + std::string(section) + "]";
    const std::string prefix = std::string(entry) + "=";
    std::optional<std::string> found;
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.starts_with('[')) {
            inSection = line == header;
            continue;
        }
        if (!inSection || !line.starts_with(prefix))
            continue;
        if (found)
            return std::nullopt; // which one counts is QSettings' business
        found = std::string(line.substr(prefix.size()));
    }
    if (found && !IsVerbatimProfileValue(*found))
        return std::nullopt;
    return found;
}

} // namespace kelvane
