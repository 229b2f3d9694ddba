#include "store/project_settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelvane {
namespace {

// The block is handed to modules as raw bytes: check that the settings'
// fields land at the offsets a module reads.
TEST(ConversionBlockTest, SettingsFieldsSitAtTheirOffsetsInsideTheRecord) {
    ProjectSettings settings;
    settings.m_anMpCount[0][0] = 0x11223344;
    settings.m_nMaxPage = 7;
    settings.m_wPurgeMask = 0xA55A;
    settings.m_nIceModel = ICE_TALVEX_VEGA_II;
    settings.m_nCommDevice = COMM_USB;
    std::strcpy(settings.m_szConvertModule, "conv");

    const auto* bytes = reinterpret_cast<const unsigned char*>(&settings.Block());
    auto word32 = [&](size_t offset) {
        uint32_t value;
        std::memcpy(&value, bytes + offset, 4);
        return value;
    };
    EXPECT_EQ(word32(0x080), 0x11223344u);
    EXPECT_EQ(word32(0x480), 7u);
    EXPECT_EQ(bytes[0x484] | bytes[0x485] << 8, 0xA55A);
    EXPECT_EQ(std::memcmp(bytes + 0x4C8, "conv", 5), 0);
    EXPECT_EQ(word32(0x548), 4u);
    EXPECT_EQ(word32(0x54C), 3u);
    for (size_t offset = 0x48C; offset < 0x4C8; ++offset)
        EXPECT_EQ(bytes[offset], 0) << offset;
    EXPECT_EQ(static_cast<const void*>(&settings.Block()), static_cast<const void*>(&settings));
}

} // namespace
} // namespace kelvane
