#include "convert/kelvane_module.h"
#include "store/project_settings.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace kelvane {
namespace {

// Module authors see only the C header; it must describe the very record the
// program hands over, field for field.
#define SAME_FIELD(field)                                                                          \
    static_assert(offsetof(KelvaneConversionBlock, field) == offsetof(ConversionBlock, field));    \
    static_assert(sizeof(KelvaneConversionBlock::field) == sizeof(ConversionBlock::field));        \
    static_assert(                                                                                 \
        std::is_same_v<std::remove_all_extents_t<decltype(KelvaneConversionBlock::field)>,         \
                       std::remove_all_extents_t<decltype(ConversionBlock::field)>>)

SAME_FIELD(m_szMpdFile);
SAME_FIELD(m_anMpCount);
SAME_FIELD(m_nMaxPage);
SAME_FIELD(m_wPurgeMask);
SAME_FIELD(m_wUnused486);
SAME_FIELD(m_pszConvertError);
SAME_FIELD(m_abUnused48C);
SAME_FIELD(m_szConvertModule);
SAME_FIELD(m_nIceModel);
SAME_FIELD(m_nCommDevice);
#undef SAME_FIELD
static_assert(sizeof(KelvaneConversionBlock) == sizeof(ConversionBlock));
static_assert(std::is_same_v<KelvaneInfoGetFunction, decltype(&DLL_Info_Get)>);
static_assert(std::is_same_v<KelvaneConvertFunction, decltype(&DLL_MPV_Convert)>);

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
