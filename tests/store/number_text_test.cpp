#include "store/number_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(NumberTextTest, ReadsActLike32BitStrtoulAndAtoi) {
    const struct {
        const char* text;
        uint32_t decimal, hexadecimal;
        int32_t integer;
    } cases[] = {{"8080", 8080, 0x8080, 8080},
                 {"  42abc", 42, 0x42abc, 42},
                 {"ABC", 0, 0xabc, 0},
                 {"", 0, 0, 0},
                 {"+7", 7, 7, 7},
                 {"-1", 0xFFFFFFFF, 0xFFFFFFFF, -1}, // negated modulo 2^32
                 {" 0X1f", 0, 31, 0},
                 {"0x", 0, 0, 0}, // the 0 is read, the x is not
                 {"0xg", 0, 0, 0},
                 {"-0x1", 0, 0xFFFFFFFF, 0},
                 {"12g4", 12, 0x12, 12},
                 {"ffffffff", 0, 0xFFFFFFFF, 0},
                 {"100000000", 100000000, 0xFFFFFFFF, 100000000},
                 {"2147483646", 2147483646, 0xFFFFFFFF, INT32_MAX - 1},
                 {"2147483647", 2147483647, 0xFFFFFFFF, INT32_MAX},
                 {"2147483648", 2147483648, 0xFFFFFFFF, INT32_MAX},
                 {"-2147483647", 2147483649, 0xFFFFFFFF, INT32_MIN + 1},
                 {"-2147483648", 2147483648, 0xFFFFFFFF, INT32_MIN},
                 {"4294967295", 4294967295, 0xFFFFFFFF, INT32_MAX},
                 {"4294967296", 4294967295, 0xFFFFFFFF, INT32_MAX}, // one past the top saturates
                 {"-3000000000", 1294967296, 0xFFFFFFFF, INT32_MIN},
                 {"-99999999999", 4294967295, 0xFFFFFFFF, INT32_MIN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecimalRead(c.text), c.decimal);
        EXPECT_EQ(HexadecimalRead(c.text), c.hexadecimal);
        EXPECT_EQ(IntegerRead(c.text), c.integer);
    }
}

TEST(NumberTextTest, PrintsLikePrintfAndAllOnesSurvivesHexAndSigned) {
    EXPECT_EQ(PrintHex(8080), "1f90");
    EXPECT_EQ(PrintSigned(INT32_MIN), "-2147483648");
    // A port of 4294967295 is stored as hex and shown signed.
    EXPECT_EQ(PrintSigned(static_cast<int32_t>(HexadecimalRead(PrintHex(0xFFFFFFFF)))), "-1");
    for (uint32_t value : {0u, 1u, 8080u, 0x7fffffffu, 0x80000000u})
        EXPECT_EQ(HexadecimalRead(PrintHex(value)), value) << value;
}

} // namespace
} // namespace kelvane
