#include "res/format_printf.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(FormatPrintfTest, FormatsLikePrintfAndCopiesWhatItCannotFill) {
    EXPECT_EQ(FormatPrintf("[%5d|%-5d|%05d|%05d]", {42, 42, 42, -7}), "[   42|42   |00042|-0007]");
    EXPECT_EQ(FormatPrintf("%x %X %04x %u %d", {0xABCDEFu, 0xABCDEFu, 0x80u, 0xFFFFFFFFu, -1}),
              "abcdef ABCDEF 0080 4294967295 -1");
    EXPECT_EQ(FormatPrintf("%s/%-4s|%3s", {"a", "b", "c"}), "a/b   |  c");
    EXPECT_EQ(FormatPrintf("100%% of %d", {3}), "100% of 3");
    // Missing, mismatched and unknown directives are copied as written.
    EXPECT_EQ(FormatPrintf("%d and %s", {1}), "1 and %s");
    EXPECT_EQ(FormatPrintf("%d then %s", {"text", "next"}), "%d then next");
    EXPECT_EQ(FormatPrintf("%q %s", {"x"}), "%q x");
    EXPECT_EQ(FormatPrintf("end %05", {1}), "end %05");
    // A width no table text needs is cut, not obeyed.
    EXPECT_EQ(FormatPrintf("%999999999d", {1}).size(), 255u);
}
