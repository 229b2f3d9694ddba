// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Paths written by Windows tools use '\', local ones '/': both separate folders.
bool IsPathSeparator(char c);

// Byte-wise comparison ignoring ASCII case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Position of the last '\' or '/' in `path`, or npos.
size_t FindLastSeparator(std::string_view path);

// `folder` + separator + `name`, where the separator is the last one `folder`
// already uses, '/' when it has none. An empty folder gives the name alone
// (the current folder); a folder ending in a separator gets no second one.
std::string JoinPath(std::string_view folder, std::string_view name);

// Case-insensitive test of the extension `ext` (without its dot, at most 7
// characters). -1 when the path is not longer than `ext` or the character in
// front of its last len(ext) characters is not a dot; otherwise the
// case-insensitive comparison, 0 when equal. With strip == 1 the path is cut
// at that dot whether or not the extension matched.
int CheckExtension(std::string& path, std::string_view ext, int strip);

// Part 0: drive and folder (ending in its separator when the path has one);
// part 1: file name with extension. Both give 0. Any other part writes
// nothing and gives part - 1.
int SplitPathPart(std::string& out, std::string_view path, int part);

} // namespace kelvane
