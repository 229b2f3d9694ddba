/* SPDX-License-Identifier: MIT */
/* A conversion module that misbehaves in the way chosen when it is built:
   KELVANE_TEST_CRASH         DLL_MPV_Convert writes through a null pointer
   KELVANE_TEST_PROBE_CRASH   DLL_Info_Get does
   KELVANE_TEST_HANG          DLL_MPV_Convert never returns; on POSIX it first
                              starts a child that writes its process id to the
                              file named by KELVANE_TEST_PID_FILE and waits too
   KELVANE_TEST_EXIT          DLL_MPV_Convert calls exit(3)
   KELVANE_TEST_WRITE_PAST    DLL_MPV_Convert writes 64 bytes behind the block
   KELVANE_TEST_GARBAGE       DLL_MPV_Convert prints to standard output, fills
                              the error buffer without a terminating zero and
                              returns -7
   KELVANE_TEST_PROBE_HANG    DLL_Info_Get never returns
   KELVANE_TEST_FLOOD         DLL_MPV_Convert prints 1 MiB to standard output
                              and 1 MiB to standard error, then returns 0
   KELVANE_TEST_DAEMON        (POSIX) DLL_MPV_Convert starts a process in a
                              session of its own that holds every stream open,
                              writes its process id to $KELVANE_TEST_PID_FILE
                              and waits; the call returns 0 at once
   KELVANE_TEST_KILL_PARENT   (POSIX) DLL_MPV_Convert sends SIGKILL to the
                              process that started its host, then returns 0 */
#include "convert/kelvane_module.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#if defined(KELVANE_TEST_HANG) || defined(KELVANE_TEST_PROBE_HANG) ||                              \
    (defined(KELVANE_TEST_DAEMON) && !defined(_WIN32))
static void WaitForever(void) {
    for (;;) {
#ifdef _WIN32
        Sleep(1000);
#else
        sleep(1);
#endif
    }
}
#endif

#if (defined(KELVANE_TEST_HANG) || defined(KELVANE_TEST_DAEMON)) && !defined(_WIN32)
/* Writes the process's id as the test sees it: in a PID namespace of the
   host's own, getpid() gives another number; /proc is the test's. */
static void WriteOwnPid(const char* pidFile) {
    char self[32] = {0};
    if (readlink("/proc/self", self, sizeof self - 1) <= 0)
        snprintf(self, sizeof self, "%ld", (long)getpid());
    FILE* file = fopen(pidFile, "w");
    if (file != NULL) {
        fprintf(file, "%s\n", self);
        fclose(file);
    }
}
#endif

#if defined(KELVANE_TEST_HANG) && !defined(_WIN32)
static void StartWaitingChild(void) {
    const char* pidFile = getenv("KELVANE_TEST_PID_FILE");
    if (pidFile == NULL || fork() != 0)
        return;
    WriteOwnPid(pidFile);
    WaitForever();
}
#endif

#if defined(KELVANE_TEST_DAEMON) && !defined(_WIN32)
static void StartDaemon(void) {
    int started[2];
    if (pipe(started) != 0)
        return;
    if (fork() != 0) {
        /* Returns once the daemon runs, so that it is there to be found. */
        char byte;
        close(started[1]);
        while (read(started[0], &byte, 1) < 0) {
        }
        close(started[0]);
        return;
    }
    setsid();
    if (fork() != 0)
        _exit(0);
    const char* pidFile = getenv("KELVANE_TEST_PID_FILE");
    if (pidFile != NULL)
        WriteOwnPid(pidFile);
    (void)!write(started[1], "x", 1);
    WaitForever();
}
#endif

#ifdef KELVANE_TEST_FLOOD
static void Flood(FILE* stream, char fill) {
    char line[1024];
    memset(line, fill, sizeof line - 1);
    line[sizeof line - 1] = '\n';
    for (int i = 0; i < 1024; ++i)
        fwrite(line, 1, sizeof line, stream);
    fflush(stream);
}
#endif

KELVANE_MODULE_EXPORT int32_t DLL_Info_Get(uint32_t* mask) {
#ifdef KELVANE_TEST_PROBE_HANG
    WaitForever();
#endif
#ifdef KELVANE_TEST_PROBE_CRASH
    *(volatile uint32_t*)(uintptr_t)0 = 1;
#endif
    *mask = 0x3FF;
    return 0;
}

KELVANE_MODULE_EXPORT int32_t DLL_MPV_Convert(int32_t direction, KelvaneConversionBlock* block) {
    char* errorText = (char*)(uintptr_t)block->m_pszConvertError;
    (void)direction;
    (void)errorText;
    block->m_anMpCount[0][0] = 12345; /* a change that must not reach the project */
#ifdef KELVANE_TEST_CRASH
    *(volatile int*)(uintptr_t)0 = 1;
#endif
#ifdef KELVANE_TEST_HANG
#ifndef _WIN32
    StartWaitingChild();
#endif
    WaitForever();
#endif
#ifdef KELVANE_TEST_EXIT
    exit(3);
#endif
#ifdef KELVANE_TEST_FLOOD
    Flood(stdout, 'o');
    Flood(stderr, 'e');
#endif
#if defined(KELVANE_TEST_DAEMON) && !defined(_WIN32)
    StartDaemon();
#endif
#if defined(KELVANE_TEST_KILL_PARENT) && !defined(_WIN32)
    kill(getppid(), SIGKILL);
#endif
#ifdef KELVANE_TEST_WRITE_PAST
    memset((char*)block + sizeof *block, 'x', 64);
#endif
#ifdef KELVANE_TEST_GARBAGE
    printf("KLVA garbage on standard output\n");
    fflush(stdout);
    memset(errorText, 'g', KELVANE_CONVERT_ERROR_SIZE);
    return -7;
#endif
    return 0;
}
