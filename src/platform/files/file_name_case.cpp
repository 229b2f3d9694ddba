// SPDX-License-Identifier: MIT
#include "platform/files/file_name_case.h"

#include "platform/text/code_page.h"

#include <cerrno>

namespace kelvane {
namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size();) {
        const size_t length = ProjectCharacterLength(a, i);
        if (length == 1 ? AsciiLower(a[i]) != AsciiLower(b[i])
                        : a.substr(i, length) != b.substr(i, length))
            return false;
        i += length;
    }
    return true;
}

std::string SaveTargetKeepingCase(const std::string& target, const std::string& readPath) {
    if (readPath.empty() || readPath == target || !EqualIgnoringAsciiCase(target, readPath) ||
        ExactNameError(target) != ENOENT)
        return target;
    return readPath;
}

} // namespace kelvane
