// SPDX-License-Identifier: MIT
#include "app/version_text.h"

#include <gtest/gtest.h>

// Level forms the About box test does not reach.
TEST(VersionTextTest, ComposesNumberMarkAndLevel) {
    const uint32_t v7_02 = 7 << 16 | 2;
    EXPECT_EQ(kelvane::ComposeVersionText("V", v7_02, 9), "V7.02");
    EXPECT_EQ(kelvane::ComposeVersionText("V", v7_02, 13), "V7.02PL3");
    EXPECT_EQ(kelvane::ComposeVersionText("V", v7_02, 30), "V7.02SP0");
    EXPECT_EQ(kelvane::ComposeVersionText("V", v7_02, 3 << 16 | 12), "V7.02(社)PL2");
}
