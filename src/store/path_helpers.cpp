// SPDX-License-Identifier: MIT
#include "store/path_helpers.h"

#include "platform/text/code_page.h"

#include <cctype>

namespace kelvane {
namespace {

int LowerByte(char c) {
    return std::tolower(static_cast<unsigned char>(c));
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    for (size_t i = 0;; ++i) {
        const int ca = i < a.size() ? LowerByte(a[i]) : 0;
        const int cb = i < b.size() ? LowerByte(b[i]) : 0;
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

size_t DriveLength(std::string_view path) {
    const bool hasDrive =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return hasDrive ? 2 : 0;
}

} // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerByte(a[i]) != LowerByte(b[i]))
            return false;
    return true;
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

size_t FindLastSeparator(std::string_view path) {
    size_t last = std::string_view::npos;
    for (size_t at = 0; at < path.size(); at += ProjectCharacterLength(path, at))
        if (IsPathSeparator(path[at]))
            last = at;
    return last;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    // An empty folder is the current one: the name alone, never a root path.
    if (folder.empty())
        return std::string(name);
    const size_t last = FindLastSeparator(folder);
    std::string joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder);
    if (last != folder.size() - 1)
        joined.push_back(last == std::string_view::npos ? '/' : folder[last]);
    joined.append(name);
    return joined;
}

int CheckExtension(std::string& path, std::string_view ext, int strip) {
    const size_t n = path.size();
    const size_t e = ext.size();
    if (n <= e || path[n - e - 1] != '.')
        return -1;
    const int result = CompareIgnoringCase(std::string_view(path).substr(n - e), ext);
    if (strip == 1)
        path.resize(n - e - 1);
    return result;
}

int SplitPathPart(std::string& out, std::string_view path, int part) {
    if (part != 0 && part != 1)
        return part - 1;
    const size_t drive = DriveLength(path);
    const size_t last = FindLastSeparator(path.substr(drive));
    const size_t fileStart = last == std::string_view::npos ? drive : drive + last + 1;
    out = part == 0 ? path.substr(0, fileStart) : path.substr(fileStart);
    return 0;
}

} // namespace kelvane
