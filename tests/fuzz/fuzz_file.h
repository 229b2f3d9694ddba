// SPDX-License-Identifier: MIT
#pragma once

#include "test_files.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane::fuzz {

// One temporary folder for the whole run: the readers take paths, so every
// input is written to the same few files in it, removed when the run ends.
inline const test::TempFolder& RunFolder() {
    static const test::TempFolder folder;
    return folder;
}

// Writes the input to `name` in the run's folder; its path.
inline std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = RunFolder().File(name);
    test::WriteBytes(path, std::string(reinterpret_cast<const char*>(data), size));
    return path;
}

} // namespace kelvane::fuzz
