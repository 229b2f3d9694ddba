#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Writes `bytes` to a temporary file in the target's folder and renames it
// over the target only once everything is written and closed, so a failed
// write leaves the previous file as it was. A symbolic link is followed and
// its target replaced; an existing file keeps its permission bits.
// On failure returns false with the errno value of the cause in `error`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, int& error);

// Reads a whole file as raw bytes. False (with the errno value in `error`)
// when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, int& error);

} // namespace kelvane
