// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The files and the model name given on the command line, for Edit > Files &
// ICE model setting; what is not given stays as the project has it. Texts
// are in the project code page.
struct FileModelOptions {
    struct FrdPath {
        int target = 0; // 1 for the first FRD file of the Target list
        std::string path;
    };

    std::optional<std::string> mpvFile;
    std::optional<std::string> mciFile;
    std::vector<FrdPath> frdFiles; // in the order given
    bool frdToMpvDir = false;
    std::optional<std::string> model;

    bool Any() const { return mpvFile || mciFile || !frdFiles.empty() || frdToMpvDir || model; }
};

} // namespace kelvane
