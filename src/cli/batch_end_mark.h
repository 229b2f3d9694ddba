// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// A worker of a batch is given a project's number a line at a time and
// answers with the project's output (standard output and error, in the
// order written) followed by its end mark:
//   RS MARK ' ' STATUS (US FILE)* RS '\n'
// MARK being the random token the batch started it with, STATUS the exit
// status the project came to and each FILE one it saved whose flush was
// deferred. The token keeps a project's own text from passing for a mark.
std::string ProjectEndMark(std::string_view token, int status,
                           const std::vector<std::string>& files);

struct ProjectEnd {
    size_t at = 0;     // where the mark starts: the project's output ends there
    size_t length = 0; // of the whole mark
    int status = 0;
    std::vector<std::string> files;
};
// The first whole end mark in `output`.
std::optional<ProjectEnd> FindProjectEnd(std::string_view output, std::string_view token);

} // namespace kelvane
