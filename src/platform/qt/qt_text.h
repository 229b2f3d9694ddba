// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kelvane {

// Core texts are in the project code page; Qt's are Unicode.
QString ToQString(std::string_view projectText);
std::string FromQString(const QString& text);

} // namespace kelvane
