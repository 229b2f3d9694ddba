// SPDX-License-Identifier: MIT
#include "store/number_text.h"

#include <gtest/gtest.h>
#include <tuple>

namespace kelvane {
namespace {
TEST(NumberTextTest, ReadsActLike32BitStrtoulAndAtoi) {
    using Reads = std::tuple<uint32_t, uint32_t, int32_t>; // decimal, hexadecimal, integer
    const auto read = [](const char* text) {
        return Reads(DecimalRead(text), HexadecimalRead(text), IntegerRead(text));
    };
    EXPECT_EQ(read("0x"), Reads(0, 0, 0));           // the 0 is read, the x is not
    EXPECT_EQ(read(" -0Xffffffff"), Reads(0, 1, 0)); // negated modulo 2^32
    EXPECT_EQ(read("-100000000"), Reads(4194967296, 0xFFFFFFFF, -100000000));
    EXPECT_EQ(read("2147483647"), Reads(2147483647, 0xFFFFFFFF, INT32_MAX));
    EXPECT_EQ(read("2147483648"), Reads(2147483648, 0xFFFFFFFF, INT32_MAX));
    EXPECT_EQ(read("-2147483648"), Reads(2147483648, 0xFFFFFFFF, INT32_MIN));
    EXPECT_EQ(read("-2147483649"), Reads(2147483647, 0xFFFFFFFF, INT32_MIN));
    EXPECT_EQ(read("-4294967295"), Reads(1, 0xFFFFFFFF, INT32_MIN));
    EXPECT_EQ(read("-4294967296"), Reads(0xFFFFFFFF, 0xFFFFFFFF, INT32_MIN)); // saturates
}

} // namespace
} // namespace kelvane
