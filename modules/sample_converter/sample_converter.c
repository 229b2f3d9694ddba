/* SPDX-License-Identifier: MIT */
/* Sample conversion module for Kelvane.

   It converts between the five talvex models by these rules (modules/README.md
   explains them to module authors):

   - MPU information file names are a model's two-letter prefix and four
     digits: KB talvexBANTAM, KV talvexNOVA, KM talvexMAX, KG talvexVEGA,
     KH talvexVEGA II. The prefix is replaced by the target model's, the
     digits are kept: KV4021 becomes KM4021 for talvexMAX.
   - The page table is kept. talvexBANTAM has pages 0 to 7 only: converting
     to it lowers MAXPAGE to 7 when pages 8 to 15 hold no counts, and refuses
     otherwise, so that no count is lost.
   - FSR items with the source model's number as key hold settings of that
     model only; the module asks to purge them.
   - A name it does not know, or a project whose model is not the source of
     the direction, is refused with a text saying why. */
#include "convert/kelvane_module.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

enum { kModelCount = 5, kBantamPages = 8, kPages = 16 };

static const char* const kPrefixes[kModelCount] = {"KB", "KV", "KM", "KG", "KH"};
static const char* const kModelNames[kModelCount] = {"talvexBANTAM", "talvexNOVA", "talvexMAX",
                                                     "talvexVEGA", "talvexVEGA II"};

/* Source and target model of each direction. */
static const int kFrom[KELVANE_DIRECTION_COUNT] = {1, 0, 2, 1, 0, 2, 2, 3, 3, 4};
static const int kTo[KELVANE_DIRECTION_COUNT] = {0, 1, 1, 2, 2, 0, 3, 2, 4, 3};

/* Leaves the reason of a refusal for the program to show. */
static int32_t Refuse(KelvaneConversionBlock* block, const char* format, ...) {
    char* text = (char*)(uintptr_t)block->m_pszConvertError;
    va_list args;
    if (text != NULL) {
        va_start(args, format);
        vsnprintf(text, KELVANE_CONVERT_ERROR_SIZE, format, args);
        va_end(args);
    }
    return 1;
}

static int IsKnownName(const char* name, int model) {
    size_t i;
    if (strlen(name) != 6 || strncmp(name, kPrefixes[model], 2) != 0)
        return 0;
    for (i = 2; i < 6; ++i)
        if (name[i] < '0' || name[i] > '9')
            return 0;
    return 1;
}

KELVANE_MODULE_EXPORT int32_t DLL_Info_Get(uint32_t* mask) {
    *mask = (UINT32_C(1) << KELVANE_DIRECTION_COUNT) - 1; /* all ten directions */
    return 0;
}

KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block) {
    char name[sizeof block->m_szMpdFile];
    int from, to, page, entry;

    block->m_wPurgeMask = 0;
    if (direction < 0 || direction >= KELVANE_DIRECTION_COUNT)
        return Refuse(block, "The sample module has no conversion direction %d.", (int)direction);
    from = kFrom[direction];
    to = kTo[direction];
    if (block->m_nIceModel != (uint32_t)from)
        return Refuse(block, "This direction converts %s projects; the project is a %s project.",
                      kModelNames[from],
                      block->m_nIceModel < kModelCount ? kModelNames[block->m_nIceModel]
                                                       : "unknown model's");

    memcpy(name, block->m_szMpdFile, sizeof name);
    name[sizeof name - 1] = '\0';
    if (!IsKnownName(name, from))
        return Refuse(block,
                      "The sample module does not know the MPU information file \"%s\": a %s "
                      "file is named %s and four digits.",
                      name, kModelNames[from], kPrefixes[from]);

    if (to == 0 && block->m_nMaxPage >= kBantamPages) {
        for (page = kBantamPages; page < kPages && page <= block->m_nMaxPage; ++page)
            for (entry = 0; entry < kPages; ++entry)
                if (block->m_anMpCount[page][entry] != 0)
                    return Refuse(block,
                                  "%s has pages 0 to 7 only, and page %d of this project holds "
                                  "memory counts. Move them to pages 0 to 7 first.",
                                  kModelNames[0], page);
        block->m_nMaxPage = kBantamPages - 1;
    }

    memcpy(block->m_szMpdFile, kPrefixes[to], 2);
    block->m_wPurgeMask = (uint16_t)(1u << from);
    return 0;
}
