// SPDX-License-Identifier: MIT
#include "device_record.h"

#include "tvx_usb.h"
#include "utf16_text.h"

#include <cstring>
#include <string_view>

namespace tvx_usb {
namespace {

void PutUnit(unsigned char* at, char16_t unit) {
    at[0] = static_cast<unsigned char>(unit & 0xFF);
    at[1] = static_cast<unsigned char>(unit >> 8);
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Writes `text` and its terminator into a field of `units` UTF-16LE units. A
// text that does not fit is cut before the first code point that would not
// leave room for the terminator, so a pair is never split.
void WriteField(unsigned char* field, size_t units, std::u16string_view text) {
    const size_t room = units - 1;
    size_t used = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
        if (used + length > room)
            break;
        for (size_t k = 0; k < length; ++k, ++used) {
            // A zero inside the text would end it early.
            const char16_t unit = text[i + k] == 0 ? u'\uFFFD' : text[i + k];
            PutUnit(field + 2 * used, unit);
        }
        i += length;
    }
    PutUnit(field + 2 * used, 0);
}

} // namespace

void WriteDeviceRecord(const UsbDevice& device, unsigned char* record) {
    // Converted first: should that fail, the record is left as it was.
    const std::u16string label = Utf8ToUtf16(device.label);
    const std::u16string name = Utf8ToUtf16(device.name);
    std::memset(record, 0, TVX_USB_RECORD_SIZE);
    PutUnit(record + TVX_USB_VENDOR_ID_OFFSET, device.vendorId);
    PutUnit(record + TVX_USB_PRODUCT_ID_OFFSET, device.productId);
    WriteField(record + TVX_USB_LABEL_OFFSET, TVX_USB_LABEL_UNITS, label);
    WriteField(record + TVX_USB_NAME_OFFSET, TVX_USB_NAME_UNITS, name);
}

} // namespace tvx_usb
