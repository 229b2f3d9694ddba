// SPDX-License-Identifier: MIT
#include "convert/kelvane_module.h"
#include "store/project_settings.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

namespace kelvane {
namespace {

// The program copies the block to and from modules built against the C
// header as bytes, so the two declarations must agree field by field.
static_assert(sizeof(ConversionBlock) == sizeof(KelvaneConversionBlock));
static_assert(alignof(ConversionBlock) == alignof(KelvaneConversionBlock));
static_assert(std::is_standard_layout_v<ConversionBlock> &&
              std::is_trivially_copyable_v<ConversionBlock>);

#define KELVANE_SAME_FIELD(field)                                                                  \
    static_assert(offsetof(ConversionBlock, field) == offsetof(KelvaneConversionBlock, field));    \
    static_assert(                                                                                 \
        std::is_same_v<decltype(ConversionBlock::field), decltype(KelvaneConversionBlock::field)>)

KELVANE_SAME_FIELD(m_szMpdFile);
KELVANE_SAME_FIELD(m_anMpCount);
KELVANE_SAME_FIELD(m_nMaxPage);
KELVANE_SAME_FIELD(m_wPurgeMask);
KELVANE_SAME_FIELD(m_wUnused486);
KELVANE_SAME_FIELD(m_pszConvertError);
KELVANE_SAME_FIELD(m_abUnused48C);
KELVANE_SAME_FIELD(m_szConvertModule);
KELVANE_SAME_FIELD(m_nIceModel);
KELVANE_SAME_FIELD(m_nCommDevice);

#undef KELVANE_SAME_FIELD

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
