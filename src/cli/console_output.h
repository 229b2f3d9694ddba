// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace kelvane {

// A line of project text on standard output, in the terminal's charset.
void PrintLine(std::string_view projectText);

// "kelvane-cli: TEXT" on standard error, TEXT given in the project code page.
void PrintProblem(std::string_view projectText);

} // namespace kelvane
