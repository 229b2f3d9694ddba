// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// The project files were written by a program whose `long` is 32 bits wide;
// these reads give its results on every platform.

// strtoul with base 10: leading blanks and a sign accepted, stops at the first
// non-digit, 0 without digits, 4294967295 on overflow, negated modulo 2^32
// after a minus sign.
uint32_t DecimalRead(std::string_view text);

// strtoul with base 16 (an optional 0x prefix), same rules otherwise.
uint32_t HexadecimalRead(std::string_view text);

// atoi: a 32-bit strtol with base 10, clamped to the 32-bit range.
int32_t IntegerRead(std::string_view text);

std::string PrintHex(uint32_t value);   // "%x"
std::string PrintSigned(int32_t value); // "%d"

} // namespace kelvane
