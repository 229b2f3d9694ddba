// SPDX-License-Identifier: MIT
/* The USB access library's interface, as Kelvane loads it: plain C, usable
   from C and C++. Kelvane calls USB_GetDeviceList and USB_GetDeviceInfo only;
   a library must still export all twelve names. */
#ifndef TVX_USB_H
#define TVX_USB_H

#include <stdint.h>

#if defined(_WIN32)
#define TVX_USB_EXPORT __declspec(dllexport)
#else
#define TVX_USB_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One device as USB_GetDeviceInfo fills it. The record is read by byte
   offset; both texts are UTF-16LE and end with a zero unit inside their
   field. */
#define TVX_USB_RECORD_SIZE 1806
#define TVX_USB_LABEL_OFFSET 522 /* 128 units, terminator included */
#define TVX_USB_LABEL_UNITS 128
#define TVX_USB_NAME_OFFSET 778 /* 514 units, terminator included */
#define TVX_USB_NAME_UNITS 514
/* Bytes 0 to 521 are the library's own. The substitute puts the vendor id at
   0 and the product id at 2, little-endian, for a device found on the bus,
   and leaves the rest zero. */
#define TVX_USB_VENDOR_ID_OFFSET 0
#define TVX_USB_PRODUCT_ID_OFFSET 2

/* Finds the devices present, remembers them for USB_GetDeviceInfo and
   returns how many there are. */
TVX_USB_EXPORT uint32_t USB_GetDeviceList(void);
/* Fills `record` (TVX_USB_RECORD_SIZE bytes) with device `index` of the last
   list; nonzero when done, 0 with nothing written for an index out of range
   or a null record. */
TVX_USB_EXPORT int32_t USB_GetDeviceInfo(uint32_t index, void* record);

/* Not used by Kelvane, which never calls them, so their parameters are left
   out here. The substitute does not implement them: each ignores whatever it
   is passed and returns 0. */
TVX_USB_EXPORT int32_t USB_Check(void);
TVX_USB_EXPORT int32_t USB_DeviceOpen(void);
TVX_USB_EXPORT int32_t USB_DeviceClose(void);
TVX_USB_EXPORT int32_t USB_SetReadWriteCondition(void);
TVX_USB_EXPORT int32_t USB_GetReadWriteCondition(void);
TVX_USB_EXPORT int32_t USB_BlkDataWrite(void);
TVX_USB_EXPORT int32_t USB_BlkDataRead(void);
TVX_USB_EXPORT int32_t USB_GetErrorInfo(void);
TVX_USB_EXPORT int32_t USB_PurgeDevice(void);
TVX_USB_EXPORT int32_t USB_GetPipeAddress(void);

#ifdef __cplusplus
}
#endif

#if defined(__cplusplus)
static_assert(TVX_USB_LABEL_OFFSET + 2 * TVX_USB_LABEL_UNITS == TVX_USB_NAME_OFFSET,
              "the name follows the label");
static_assert(TVX_USB_NAME_OFFSET + 2 * TVX_USB_NAME_UNITS == TVX_USB_RECORD_SIZE,
              "the name ends the record");
#endif

#endif
