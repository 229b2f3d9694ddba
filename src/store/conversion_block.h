// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvane {

// The record a conversion module receives and changes by byte offset; it
// opens the project's settings. Its layout is shared with modules built
// elsewhere, so every offset is fixed: KelvaneConversionBlock in
// convert/kelvane_module.h is its C twin, and a test checks they agree.
struct ConversionBlock {
    char m_szMpdFile[128];
    int32_t m_anMpCount[16][16];
    int32_t m_nMaxPage;
    uint16_t m_wPurgeMask;
    uint16_t m_wUnused486;
    uint32_t m_pszConvertError; // 32-bit address of the 512-byte error buffer
    uint8_t m_abUnused48C[60];
    char m_szConvertModule[128];
    uint32_t m_nIceModel;
    uint32_t m_nCommDevice;
};

static_assert(offsetof(ConversionBlock, m_szMpdFile) == 0x000);
static_assert(offsetof(ConversionBlock, m_anMpCount) == 0x080);
static_assert(offsetof(ConversionBlock, m_nMaxPage) == 0x480);
static_assert(offsetof(ConversionBlock, m_wPurgeMask) == 0x484);
static_assert(offsetof(ConversionBlock, m_wUnused486) == 0x486);
static_assert(offsetof(ConversionBlock, m_pszConvertError) == 0x488);
static_assert(offsetof(ConversionBlock, m_abUnused48C) == 0x48C);
static_assert(offsetof(ConversionBlock, m_szConvertModule) == 0x4C8);
static_assert(offsetof(ConversionBlock, m_nIceModel) == 0x548);
static_assert(offsetof(ConversionBlock, m_nCommDevice) == 0x54C);
static_assert(sizeof(ConversionBlock) == 0x550);

} // namespace kelvane
