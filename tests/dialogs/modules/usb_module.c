/* SPDX-License-Identifier: MIT */
/* A USB access library whose devices are chosen when it is built:
   KELVANE_TEST_DEVICES   the number of devices reported (2 when not given)
   KELVANE_TEST_NO_INFO   no USB_GetDeviceInfo at all
   KELVANE_TEST_FAIL      the index of a device whose record cannot be filled
   KELVANE_TEST_BLANK     the first device's name holds a blank
   KELVANE_TEST_NO_LIST   no USB_GetDeviceList at all
   KELVANE_TEST_CRASH     USB_GetDeviceInfo fills device 0, then writes
                          through a null pointer for device 1
   KELVANE_TEST_HANG      USB_GetDeviceList never returns
   Devices 0 and 1 are ABC12345DE "unit-1" and XYZ67890QR "unit-2", the
   others DEVnnn "more". Every call writes the whole record, as a real
   library may, so a record too small for the program would be overrun. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef KELVANE_TEST_HANG
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif
#endif

#define EXPORT __attribute__((visibility("default")))

#ifndef KELVANE_TEST_DEVICES
#define KELVANE_TEST_DEVICES 2
#endif
#ifndef KELVANE_TEST_FAIL
#define KELVANE_TEST_FAIL -1
#endif

enum { kRecordSize = 1806, kLabelOffset = 522, kNameOffset = 778 };

__attribute__((unused)) static void PutText(unsigned char* record, size_t offset,
                                            const char* text) {
    size_t i = 0;
    for (; text[i] != '\0'; ++i) {
        record[offset + 2 * i] = (unsigned char)text[i];
        record[offset + 2 * i + 1] = 0;
    }
    record[offset + 2 * i] = 0;
    record[offset + 2 * i + 1] = 0;
}

static uint32_t DeviceCount(void) {
#ifdef KELVANE_TEST_HANG
    for (;;) {
#ifdef _WIN32
        Sleep(1000);
#else
        sleep(1);
#endif
    }
#endif
    return KELVANE_TEST_DEVICES;
}

#ifndef KELVANE_TEST_NO_LIST
EXPORT uint32_t USB_GetDeviceList(void) {
    return DeviceCount();
}
#endif

#ifndef KELVANE_TEST_NO_INFO
EXPORT int32_t USB_GetDeviceInfo(uint32_t index, void* buffer) {
    unsigned char* record = (unsigned char*)buffer;
    char name[32];
    if (index >= DeviceCount() || (int)index == KELVANE_TEST_FAIL)
        return 0;
#ifdef KELVANE_TEST_CRASH
    if (index == 1)
        *(volatile int*)(uintptr_t)0 = 1;
#endif
    memset(record, 0x5A, kRecordSize);
    if (index == 0) {
#ifdef KELVANE_TEST_BLANK
        PutText(record, kNameOffset, "ABC 12345");
#else
        PutText(record, kNameOffset, "ABC12345DE");
#endif
        PutText(record, kLabelOffset, "unit-1");
    } else if (index == 1) {
        PutText(record, kNameOffset, "XYZ67890QR");
        PutText(record, kLabelOffset, "unit-2");
    } else {
        snprintf(name, sizeof name, "DEV%03u", (unsigned)index);
        PutText(record, kNameOffset, name);
        PutText(record, kLabelOffset, "more");
    }
    return 1;
}
#endif

/* Looked up by the program, never called. */
EXPORT int32_t USB_Check(void) {
    return 0;
}
EXPORT int32_t USB_DeviceOpen(void) {
    return 0;
}
EXPORT int32_t USB_DeviceClose(void) {
    return 0;
}
EXPORT int32_t USB_SetReadWriteCondition(void) {
    return 0;
}
EXPORT int32_t USB_GetReadWriteCondition(void) {
    return 0;
}
EXPORT int32_t USB_BlkDataWrite(void) {
    return 0;
}
EXPORT int32_t USB_BlkDataRead(void) {
    return 0;
}
EXPORT int32_t USB_GetErrorInfo(void) {
    return 0;
}
EXPORT int32_t USB_PurgeDevice(void) {
    return 0;
}
EXPORT int32_t USB_GetPipeAddress(void) {
    return 0;
}
