// SPDX-License-Identifier: MIT
#include "store/number_text.h"

#include <cctype>
#include <cstdio>

namespace kelvane {
namespace {

struct ParsedNumber {
    bool negative = false;
    bool overflow = false;
    uint64_t magnitude = 0; // saturates just above the 32-bit range
};

int DigitValue(char c, int base) {
    int value = 36;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'z')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

ParsedNumber ParseNumber(std::string_view text, int base) {
    ParsedNumber parsed;
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parsed.negative = text[i] == '-';
        ++i;
    }
    if (base == 16 && i + 2 < text.size() && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2], 16) >= 0)
        i += 2;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            break;
        parsed.magnitude =
            parsed.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (parsed.magnitude > 0xFFFFFFFFull) {
            parsed.overflow = true;
            parsed.magnitude = 0x100000000ull;
        }
    }
    return parsed;
}

uint32_t UnsignedResult(const ParsedNumber& parsed) {
    if (parsed.overflow)
        return 0xFFFFFFFFu;
    const auto value = static_cast<uint32_t>(parsed.magnitude);
    return parsed.negative ? 0u - value : value;
}

} // namespace

uint32_t DecimalRead(std::string_view text) {
    return UnsignedResult(ParseNumber(text, 10));
}

uint32_t HexadecimalRead(std::string_view text) {
    return UnsignedResult(ParseNumber(text, 16));
}

int32_t IntegerRead(std::string_view text) {
    const ParsedNumber parsed = ParseNumber(text, 10);
    if (parsed.negative)
        return parsed.magnitude >= 0x80000000ull ? INT32_MIN
                                                 : -static_cast<int32_t>(parsed.magnitude);
    return parsed.magnitude >= 0x7FFFFFFFull ? INT32_MAX : static_cast<int32_t>(parsed.magnitude);
}

std::string PrintHex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

std::string PrintSigned(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

} // namespace kelvane
