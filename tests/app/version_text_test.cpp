#include "app/version_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

uint32_t Words(uint32_t high, uint32_t low) {
    return high << 16 | low;
}

TEST(VersionTextTest, ComposesNumberMarkAndLevel) {
    const std::string base = "Kelvane Version ";
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 0)), "Kelvane Version 7.02");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 10), Words(0, 0)), "Kelvane Version 7.10");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 13)), "Kelvane Version 7.02PL3");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 25)), "Kelvane Version 7.02PR5");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 30)), "Kelvane Version 7.02SP0");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 47)), "Kelvane Version 7.02作7");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(0, 9)), "Kelvane Version 7.02");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(1, 0)), "Kelvane Version 7.02(社)");
    EXPECT_EQ(ComposeVersionText(base, Words(7, 2), Words(3, 12)), "Kelvane Version 7.02(社)PL2");
    // The build's own version.
    EXPECT_EQ(ComposeVersionText(base, kProductVersionMS, kProductVersionLS),
              "Kelvane Version 7.02");
}

} // namespace
} // namespace kelvane
