// SPDX-License-Identifier: MIT
#include "res/format_printf.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kelvane {

namespace {

constexpr size_t kMaxWidth = 255;

std::string NumberText(uint32_t number, char conversion) {
    char digits[16];
    char* end = digits;
    switch (conversion) {
    case 'd':
    case 'i':
        end = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(number)).ptr;
        break;
    case 'u':
        end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        break;
    default: // x, X
        end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
        if (conversion == 'X')
            std::transform(digits, end, digits, [](char c) {
                return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
            });
        break;
    }
    return std::string(digits, end);
}

void AppendPadded(std::string& out, std::string body, size_t width, bool left, bool zeros) {
    if (body.size() >= width) {
        out += body;
    } else if (left) {
        out += body;
        out.append(width - body.size(), ' ');
    } else if (zeros) {
        // Zeros go between the sign and the digits, as printf puts them.
        const size_t sign = !body.empty() && body[0] == '-' ? 1 : 0;
        body.insert(sign, width - body.size(), '0');
        out += body;
    } else {
        out.append(width - body.size(), ' ');
        out += body;
    }
}

} // namespace

std::string FormatPrintf(std::string_view pattern, std::span<const PrintfArg> args) {
    std::string out;
    out.reserve(pattern.size());
    auto next = args.begin();
    size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '%') {
            out.push_back(pattern[i++]);
            continue;
        }
        size_t j = i + 1;
        bool left = false;
        bool zeros = false;
        for (; j < pattern.size() && (pattern[j] == '-' || pattern[j] == '0'); ++j)
            (pattern[j] == '-' ? left : zeros) = true;
        size_t width = 0;
        for (; j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9'; ++j)
            width = std::min(width * 10 + static_cast<size_t>(pattern[j] - '0'), kMaxWidth);
        if (j == pattern.size()) {
            out.append(pattern.substr(i));
            break;
        }
        const char conversion = pattern[j];
        const std::string_view directive = pattern.substr(i, j - i + 1);
        i = j + 1;
        if (conversion == '%') {
            out.push_back('%');
            continue;
        }
        if (std::strchr("sdiuxX", conversion) == nullptr || next == args.end()) {
            out.append(directive);
            continue;
        }
        const PrintfArg& arg = *next++;
        const bool wantsText = conversion == 's';
        if (arg.IsText() != wantsText) {
            out.append(directive);
            continue;
        }
        if (wantsText)
            AppendPadded(out, std::string(arg.Text()), width, left, false);
        else
            AppendPadded(out, NumberText(arg.Number(), conversion), width, left, zeros);
    }
    return out;
}

std::string FormatPrintf(std::string_view pattern, std::initializer_list<PrintfArg> args) {
    return FormatPrintf(pattern, std::span<const PrintfArg>(args.begin(), args.size()));
}

} // namespace kelvane
