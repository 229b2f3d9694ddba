// SPDX-License-Identifier: MIT
#pragma once

#include "cli/file_model_options.h"

#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace kelvane {

// The options of Edit > Files & ICE model setting on `set` and `convert`.
class FileModelArguments {
public:
    void AddTo(CLI::App& command);
    // The options given, their texts in the project code page.
    FileModelOptions Options() const;

private:
    std::string m_mpvFile, m_mciFile, m_model;
    std::vector<std::string> m_frdFiles; // N=PATH each, checked
    bool m_frdToMpvDir = false;
    CLI::Option* m_mpvOption = nullptr;
    CLI::Option* m_mciOption = nullptr;
    CLI::Option* m_modelOption = nullptr;
};

} // namespace kelvane
