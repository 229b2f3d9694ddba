// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kelvane {

// What one project of a batch came to.
struct BatchRecord {
    std::string path;   // the project, in the project code page
    std::string target; // where it was to be saved; empty for show and check
    bool succeeded = false;
    std::vector<std::string> messages; // its output, a line each, in the terminal's charset
    double seconds = 0;
};

// The records as a JSON array, in UTF-8.
std::string BatchReportJson(const std::vector<BatchRecord>& records);

} // namespace kelvane
