#include "app/version_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(VersionTextTest, ComposesNumberMarkAndLevel) {
    const uint32_t v7_02 = 7 << 16 | 2;
    EXPECT_EQ(ComposeVersionText("V", 7 << 16 | 10, 0), "V7.10");
    EXPECT_EQ(ComposeVersionText("V", v7_02, 9), "V7.02");
    EXPECT_EQ(ComposeVersionText("V", v7_02, 13), "V7.02PL3");
    EXPECT_EQ(ComposeVersionText("V", v7_02, 30), "V7.02SP0");
    EXPECT_EQ(ComposeVersionText("V", v7_02, 47), "V7.02作7");
    // The in-house mark comes from the high half of the level word.
    EXPECT_EQ(ComposeVersionText("V", v7_02, 3 << 16 | 12), "V7.02(社)PL2");
}

} // namespace
} // namespace kelvane
