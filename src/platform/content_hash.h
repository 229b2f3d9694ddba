// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvane {

class FileReader;

// A hash of a file's bytes, to tell whether another program has changed
// them. The same bytes give the same value within one run; it is never
// stored, so it may differ between builds.
uint64_t ContentHash(std::string_view bytes);

// ContentHash of the open file's bytes, read from its start; false when they
// cannot all be read.
bool HashFileContents(FileReader& file, uint64_t& hash);

} // namespace kelvane
