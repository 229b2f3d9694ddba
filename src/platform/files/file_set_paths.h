// SPDX-License-Identifier: MIT
#pragma once

// Names of the files a FileSetTransaction makes beside its targets.

#include <string>

namespace kelvane {

inline constexpr size_t kTemporaryRandomLength = 6;

// The folder of a path in the system's form ("." for a bare name), and its
// last component. On Windows both '\' and '/' separate.
std::string FolderOfSystemPath(const std::string& path);
std::string NameOfSystemPath(const std::string& path);
// FOLDER + separator + NAME.
std::string InFolder(const std::string& folder, const std::string& name);
// ".NAME.kelvane-": what every temporary of `target` starts with.
std::string TemporaryPrefix(const std::string& target);
// kTemporaryRandomLength letters and digits.
std::string RandomSuffix();
// Whether `name` (a folder entry) is a temporary of the target with `prefix`.
bool IsTemporaryName(const std::string& name, const std::string& prefix);

} // namespace kelvane
