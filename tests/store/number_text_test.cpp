#include "store/number_text.h"

#include <gtest/gtest.h>
#include <tuple>

namespace kelvane {
namespace {

using Reads = std::tuple<uint32_t, uint32_t, int32_t>; // decimal, hexadecimal, integer

Reads Read(const char* text) {
    return {DecimalRead(text), HexadecimalRead(text), IntegerRead(text)};
}

TEST(NumberTextTest, ReadsActLike32BitStrtoulAndAtoi) {
    EXPECT_EQ(Read("  42abc"), Reads(42, 0x42abc, 42));
    EXPECT_EQ(Read(" 0X1f"), Reads(0, 31, 0));
    EXPECT_EQ(Read("0x"), Reads(0, 0, 0)); // the 0 is read, the x is not
    EXPECT_EQ(Read("2147483647"), Reads(2147483647, 0xFFFFFFFF, INT32_MAX));
    EXPECT_EQ(Read("2147483648"), Reads(2147483648, 0xFFFFFFFF, INT32_MAX));
    EXPECT_EQ(Read("-2147483648"), Reads(2147483648, 0xFFFFFFFF, INT32_MIN));
    EXPECT_EQ(Read("-2147483649"), Reads(2147483647, 0xFFFFFFFF, INT32_MIN));
    EXPECT_EQ(Read("-4294967295"), Reads(1, 0xFFFFFFFF, INT32_MIN));          // negated modulo 2^32
    EXPECT_EQ(Read("-4294967296"), Reads(0xFFFFFFFF, 0xFFFFFFFF, INT32_MIN)); // saturates
    EXPECT_EQ(Read("-ffffffff"), Reads(0, 1, 0));
    EXPECT_EQ(Read("-100000000"), Reads(4194967296, 0xFFFFFFFF, -100000000));
}

} // namespace
} // namespace kelvane
