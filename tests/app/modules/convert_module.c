/* SPDX-License-Identifier: MIT */
/* A conversion module whose behaviour is chosen when it is built:
   KELVANE_TEST_NO_CONVERT     no DLL_MPV_Convert at all
   KELVANE_TEST_RESULT         the result returned (0 when not given)
   KELVANE_TEST_ERROR_TEXT     a text left in the error buffer
   KELVANE_TEST_NEW_NAME       the MPU information file name left in the block
   KELVANE_TEST_LONG_NAME      leave a name of 127 characters
   KELVANE_TEST_UNTERMINATED   fill the name field without a terminating zero
   KELVANE_TEST_PURGE_MASK     the purge mask written; left alone when not given
   KELVANE_TEST_MAX_PAGE       the highest page left in the block
   KELVANE_TEST_WAIT           create the file $KELVANE_TEST_STARTED, then
                               wait (30 s at most) for $KELVANE_TEST_GO
   Every variant refuses a name with a folder in it, and records the
   direction it was called with in the last page count plus 100. */
#include "convert/kelvane_module.h"

#include <string.h>
#ifdef KELVANE_TEST_WAIT
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

/* Lets a test act while the conversion is under way, between the open and
   the save of the program that called it. */
static void SayStartedAndWaitForGo(void) {
    const char* started = getenv("KELVANE_TEST_STARTED");
    const char* go = getenv("KELVANE_TEST_GO");
    FILE* mark = started != NULL ? fopen(started, "a") : NULL;
    if (mark != NULL)
        fclose(mark);
    for (int waited = 0; go != NULL && access(go, F_OK) != 0 && waited < 3000; ++waited)
        usleep(10000);
}
#endif

#ifndef KELVANE_TEST_RESULT
#define KELVANE_TEST_RESULT 0
#endif

KELVANE_MODULE_EXPORT int32_t DLL_Info_Get(uint32_t* mask) {
    *mask = 0x3FF;
    return 0;
}

#ifndef KELVANE_TEST_NO_CONVERT
KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block) {
    char* errorText = (char*)(uintptr_t)block->m_pszConvertError;
    const size_t nameLength = strnlen(block->m_szMpdFile, sizeof block->m_szMpdFile);
    if (memchr(block->m_szMpdFile, '/', nameLength) != NULL ||
        memchr(block->m_szMpdFile, '\\', nameLength) != NULL) {
        strcpy(errorText, "given a folder");
        return 99;
    }
    if (errorText[0] != '\0')
        return 98; /* the buffer must come empty */
#ifdef KELVANE_TEST_WAIT
    SayStartedAndWaitForGo();
#endif
    block->m_anMpCount[15][15] = direction + 100;
#ifdef KELVANE_TEST_ERROR_TEXT
    strcpy(errorText, KELVANE_TEST_ERROR_TEXT);
#endif
#ifdef KELVANE_TEST_NEW_NAME
    strcpy(block->m_szMpdFile, KELVANE_TEST_NEW_NAME);
#endif
#ifdef KELVANE_TEST_LONG_NAME
    memset(block->m_szMpdFile, 'n', 127);
    block->m_szMpdFile[127] = '\0';
#endif
#ifdef KELVANE_TEST_UNTERMINATED
    memset(block->m_szMpdFile, 'u', sizeof block->m_szMpdFile);
#endif
#ifdef KELVANE_TEST_PURGE_MASK
    block->m_wPurgeMask = KELVANE_TEST_PURGE_MASK;
#endif
#ifdef KELVANE_TEST_MAX_PAGE
    block->m_nMaxPage = KELVANE_TEST_MAX_PAGE;
#endif
    return KELVANE_TEST_RESULT;
}
#endif
