#include "convert/kelvane_module.h"

#include "convert/conversion_block.h"

#include <cstddef>
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
static_assert(sizeof(KelvaneConversionBlock) == sizeof(ConversionBlock));
static_assert(std::is_standard_layout_v<KelvaneConversionBlock>);

static_assert(std::is_same_v<KelvaneInfoGetFunction, decltype(&DLL_Info_Get)>);
static_assert(std::is_same_v<KelvaneConvertFunction, decltype(&DLL_MPV_Convert)>);
static_assert(KELVANE_DIRECTION_BIT(KELVANE_VEGA_II_TO_VEGA) == 0x200u);
static_assert(KELVANE_DIRECTION_COUNT == 10);

#undef SAME_FIELD

} // namespace
} // namespace kelvane
