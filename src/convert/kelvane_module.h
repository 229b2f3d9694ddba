/* SPDX-License-Identifier: MIT */
/* The interface between Kelvane and a conversion module, for module authors.
   Plain C; usable from C and C++. A module exports DLL_MPV_Convert and, when
   it supports other directions than NOVA <-> BANTAM, DLL_Info_Get. */
#ifndef KELVANE_MODULE_H
#define KELVANE_MODULE_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define KELVANE_MODULE_EXPORT __declspec(dllexport)
#else
#define KELVANE_MODULE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Conversion directions: the number passed to DLL_MPV_Convert and the bit of
   the mask DLL_Info_Get reports. */
enum KelvaneConvertDirection {
    KELVANE_NOVA_TO_BANTAM = 0,
    KELVANE_BANTAM_TO_NOVA = 1,
    KELVANE_MAX_TO_NOVA = 2,
    KELVANE_NOVA_TO_MAX = 3,
    KELVANE_BANTAM_TO_MAX = 4,
    KELVANE_MAX_TO_BANTAM = 5,
    KELVANE_MAX_TO_VEGA = 6,
    KELVANE_VEGA_TO_MAX = 7,
    KELVANE_VEGA_TO_VEGA_II = 8,
    KELVANE_VEGA_II_TO_VEGA = 9,
    KELVANE_DIRECTION_COUNT = 10
};

#define KELVANE_DIRECTION_BIT(direction) (UINT32_C(1) << (direction))

/* Size of the error buffer, terminating zero included. */
#define KELVANE_CONVERT_ERROR_SIZE 512

/* The record handed to DLL_MPV_Convert. Modules built anywhere read it by
   byte offset, so the layout is fixed: little-endian, 32-bit integers and a
   32-bit address, 0x550 bytes. */
typedef struct KelvaneConversionBlock {
    char m_szMpdFile[128];       /* in: bare MPU file name; out: the name to use */
    int32_t m_anMpCount[16][16]; /* in and out */
    int32_t m_nMaxPage;          /* in and out */
    uint16_t m_wPurgeMask;       /* out, always written: bit n purges FSR items with key n */
    uint16_t m_wUnused486;
    /* Address of the 512-byte error buffer, empty on entry. It lies in the
       low 2 GiB; cast it with (char*)(uintptr_t)block->m_pszConvertError. */
    uint32_t m_pszConvertError;
    uint8_t m_abUnused48C[60];   /* zero; leave alone */
    char m_szConvertModule[128]; /* the module's own path */
    uint32_t m_nIceModel;        /* in: the model before the conversion, 0..4 */
    uint32_t m_nCommDevice;      /* in */
} KelvaneConversionBlock;

#if defined(__cplusplus)
#define KELVANE_MODULE_ASSERT(condition) static_assert(condition, #condition)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define KELVANE_MODULE_ASSERT(condition) _Static_assert(condition, #condition)
#else
/* Older C: a checked array size, declared again for each check. */
#define KELVANE_MODULE_ASSERT(condition)                                                           \
    extern char kelvane_module_layout_check[(condition) ? 1 : -1]
#endif

KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_anMpCount) == 0x080);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_nMaxPage) == 0x480);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_wPurgeMask) == 0x484);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_pszConvertError) == 0x488);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_abUnused48C) == 0x48C);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_szConvertModule) == 0x4C8);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_nIceModel) == 0x548);
KELVANE_MODULE_ASSERT(offsetof(KelvaneConversionBlock, m_nCommDevice) == 0x54C);
KELVANE_MODULE_ASSERT(sizeof(KelvaneConversionBlock) == 0x550);

#undef KELVANE_MODULE_ASSERT

#define KELVANE_INFO_GET_NAME "DLL_Info_Get"
#define KELVANE_CONVERT_NAME "DLL_MPV_Convert"

/* Optional. Must always write *mask (it is not preset): bit d set means
   direction d is supported; bits 10 to 31 are ignored. Without this export
   a module serves directions 0 and 1 only. The result is not used. */
typedef int32_t (*KelvaneInfoGetFunction)(uint32_t* mask);
KELVANE_MODULE_EXPORT int32_t DLL_Info_Get(uint32_t* mask);

/* Converts the block for `direction` (0..9). Returns 0 on success; any other
   value is a failure, with a zero-terminated text of at most 511 characters
   in the error buffer. */
typedef int32_t (*KelvaneConvertFunction)(int32_t direction, KelvaneConversionBlock* block);
KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block);

#ifdef __cplusplus
}
#endif

#endif /* KELVANE_MODULE_H */
