#include "store/number_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(NumberTextTest, DecimalReadActsLikeA32BitStrtoul) {
    EXPECT_EQ(DecimalRead("8080"), 8080u);
    EXPECT_EQ(DecimalRead("  42abc"), 42u);
    EXPECT_EQ(DecimalRead("abc"), 0u);
    EXPECT_EQ(DecimalRead(""), 0u);
    EXPECT_EQ(DecimalRead("+7"), 7u);
    EXPECT_EQ(DecimalRead("4294967295"), 4294967295u);
    EXPECT_EQ(DecimalRead("4294967296"), 4294967295u); // one past the top saturates
    EXPECT_EQ(DecimalRead("99999999999"), 4294967295u);
    EXPECT_EQ(DecimalRead("-1"), 4294967295u); // negated modulo 2^32
    EXPECT_EQ(DecimalRead("-2"), 4294967294u);
    EXPECT_EQ(DecimalRead("-99999999999"), 4294967295u); // overflow wins over the sign
    EXPECT_EQ(DecimalRead("1f90"), 1u);
}

TEST(NumberTextTest, HexadecimalReadTakesAnOptionalPrefix) {
    EXPECT_EQ(HexadecimalRead("1f90"), 0x1f90u);
    EXPECT_EQ(HexadecimalRead("1F90"), 0x1f90u);
    EXPECT_EQ(HexadecimalRead("0x1F"), 31u);
    EXPECT_EQ(HexadecimalRead(" 0X1f"), 31u);
    EXPECT_EQ(HexadecimalRead("0x"), 0u); // the 0 is read, the x is not
    EXPECT_EQ(HexadecimalRead("0xg"), 0u);
    EXPECT_EQ(HexadecimalRead("12g4"), 0x12u);
    EXPECT_EQ(HexadecimalRead("ffffffff"), 0xffffffffu);
    EXPECT_EQ(HexadecimalRead("1ffffffff"), 0xffffffffu);
    EXPECT_EQ(HexadecimalRead("100000000"), 0xffffffffu);
    EXPECT_EQ(HexadecimalRead("-0x1"), 0xffffffffu);
}

TEST(NumberTextTest, IntegerReadClampsToThe32BitRange) {
    EXPECT_EQ(IntegerRead("15"), 15);
    EXPECT_EQ(IntegerRead("-1"), -1);
    EXPECT_EQ(IntegerRead("x"), 0);
    EXPECT_EQ(IntegerRead(" 7,"), 7);
    EXPECT_EQ(IntegerRead("2147483647"), INT32_MAX);
    EXPECT_EQ(IntegerRead("2147483646"), INT32_MAX - 1);
    EXPECT_EQ(IntegerRead("2147483648"), INT32_MAX);
    EXPECT_EQ(IntegerRead("-2147483648"), INT32_MIN);
    EXPECT_EQ(IntegerRead("-2147483647"), INT32_MIN + 1);
    EXPECT_EQ(IntegerRead("3000000000"), INT32_MAX);
    EXPECT_EQ(IntegerRead("-3000000000"), INT32_MIN);
    EXPECT_EQ(IntegerRead("99999999999"), INT32_MAX);
}

TEST(NumberTextTest, PrintsLikePrintf) {
    EXPECT_EQ(PrintHex(8080), "1f90");
    EXPECT_EQ(PrintHex(0), "0");
    EXPECT_EQ(PrintHex(0xffffffffu), "ffffffff");
    EXPECT_EQ(PrintSigned(-1), "-1");
    EXPECT_EQ(PrintSigned(INT32_MIN), "-2147483648");
    EXPECT_EQ(PrintSigned(8080), "8080");
}

TEST(NumberTextTest, AllOnesSurvivesTheWayThroughHexAndSigned) {
    // A port of 4294967295 is stored as hex and shown signed.
    const uint32_t port = DecimalRead("4294967295");
    EXPECT_EQ(PrintSigned(static_cast<int32_t>(HexadecimalRead(PrintHex(port)))), "-1");
    for (uint32_t value : {0u, 1u, 8080u, 0x7fffffffu, 0x80000000u})
        EXPECT_EQ(HexadecimalRead(PrintHex(value)), value) << value;
}

} // namespace
} // namespace kelvane
