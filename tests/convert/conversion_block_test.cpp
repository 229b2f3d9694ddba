#include "store/project_settings.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// Modules get the settings' own bytes: the block must start them, and the
// bytes modules are told to leave alone must come zero.
TEST(ConversionBlockTest, TheBlockStartsTheSettingsWithItsUnusedBytesZero) {
    ProjectSettings settings;
    EXPECT_EQ(static_cast<void*>(&settings.Block()), static_cast<void*>(&settings));
    EXPECT_EQ(settings.m_wUnused486, 0u);
    for (const uint8_t byte : settings.m_abUnused48C)
        EXPECT_EQ(byte, 0u);
}

} // namespace
} // namespace kelvane
