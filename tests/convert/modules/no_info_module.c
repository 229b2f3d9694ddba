/* SPDX-License-Identifier: MIT */
/* A module from before the supported-directions mask: it has no DLL_Info_Get. */
#include "convert/kelvane_module.h"

KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block) {
    (void)block;
    return direction <= KELVANE_BANTAM_TO_NOVA ? 0 : 1;
}
