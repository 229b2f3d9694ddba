/* SPDX-License-Identifier: MIT */
/* A module that reports the mask it is built with (KELVANE_TEST_MASK). */
#include "convert/kelvane_module.h"

KELVANE_MODULE_EXPORT int32_t DLL_Info_Get(uint32_t* mask) {
    *mask = KELVANE_TEST_MASK;
    return 0;
}

KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block) {
    (void)block;
    const int supported = direction >= 0 && direction < KELVANE_DIRECTION_COUNT &&
                          ((KELVANE_TEST_MASK >> direction) & 1u);
    return supported ? 0 : 1;
}
