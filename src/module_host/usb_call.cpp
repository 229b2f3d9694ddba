// SPDX-License-Identifier: MIT
#include "module_host/usb_call.h"

#include "convert/usb_listing.h"
#include "platform/process/dynamic_library.h"

namespace kelvane {

UsbHostAnswer AnswerUsbRequest(const ModuleHostRequest& request) {
    UsbHostAnswer answer;
    DynamicLibrary library;
    if (!library.Load(request.modulePath)) {
        answer.status = UsbHostStatus::CannotLoad;
        answer.detail = library.Error();
        return answer;
    }
    const UsbEntryPoints entryPoints = LookUpUsbEntryPoints(library);
    if (const char* missing = MissingUsbListingCall(entryPoints)) {
        answer.status = UsbHostStatus::MissingCall;
        answer.detail = missing;
    } else {
        answer = ListUsbDevices(entryPoints);
    }
    library.Unload();
    return answer;
}

} // namespace kelvane
