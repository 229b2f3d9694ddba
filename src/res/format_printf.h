// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kelvane {

// One argument of FormatPrintf: a text or a 32-bit number.
class PrintfArg {
public:
    PrintfArg(std::string_view text) : m_text(text), m_isText(true) {}
    PrintfArg(const std::string& text) : m_text(text), m_isText(true) {}
    PrintfArg(const char* text) : m_text(text != nullptr ? text : ""), m_isText(true) {}
    PrintfArg(uint32_t number) : m_number(number) {}
    PrintfArg(int number) : m_number(static_cast<uint32_t>(number)) {}

    bool IsText() const { return m_isText; }
    std::string_view Text() const { return m_text; }
    uint32_t Number() const { return m_number; }

private:
    std::string_view m_text;
    uint32_t m_number = 0;
    bool m_isText = false;
};

// printf's %s, %d, %i, %u, %x, %X and %% with the flags '-' and '0' and a
// width, numbers taken as C's 32-bit int and unsigned. Texts of the string
// tables are data: a directive without an argument of its kind is copied as
// written (its argument, if any, is used up), widths above 255 are cut to
// 255, so no table text can make it misbehave.
std::string FormatPrintf(std::string_view pattern, std::span<const PrintfArg> args);
std::string FormatPrintf(std::string_view pattern, std::initializer_list<PrintfArg> args);

} // namespace kelvane
