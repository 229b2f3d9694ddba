// SPDX-License-Identifier: MIT
#include "convert/usb_host_client.h"

namespace kelvane {

UsbHostOutcome ListUsbDevicesInHost(const ModuleLocation& library, WaitIndicator& waiter) {
    UsbHostOutcome outcome;
    ModuleHostRequest request;
    request.call = ModuleHostCall::ListUsbDevices;
    request.modulePath = library.hostPath;
    const HostAnswerReader reader = AnswerReader(outcome.answer, kUsbAnswerLimit, UsbAnswerLength,
                                                 DecodeUsbAnswer, "the USB access library");
    outcome.failure =
        RunModuleHost(library, request, reader, UsbListingTimeoutSeconds(), waiter, outcome.detail);
    return outcome;
}

std::string UsbHostProblem(const UsbHostOutcome& outcome, const ModuleLocation& library) {
    const std::string& name = library.file;
    switch (outcome.failure) {
    case ModuleHostFailure::None:
        break;
    case ModuleHostFailure::CannotStart:
        return "the module host " + HostProgram(library.kind) + " cannot be started for " + name +
               ": " + outcome.detail;
    case ModuleHostFailure::WineMissing:
        return name + " is a Windows library, which needs Wine; Wine is not installed";
    case ModuleHostFailure::Crashed:
        return name + " crashed (" + outcome.detail + ")";
    case ModuleHostFailure::Exited:
        return name + " ended its process (exit status " + outcome.detail + ") without an answer";
    case ModuleHostFailure::TimedOut:
        return name + " gave no answer within " + outcome.detail +
               " seconds and was stopped (KELVANE_USB_TIMEOUT sets the limit)";
    case ModuleHostFailure::BadAnswer:
        return "the module host gave no usable answer for " + name + " (" + outcome.detail + ")";
    }
    switch (outcome.answer.status) {
    case UsbHostStatus::Listed:
        break;
    case UsbHostStatus::CannotLoad:
        return name + ": " + outcome.answer.detail;
    case UsbHostStatus::MissingCall:
        return name + " has no " + outcome.answer.detail;
    case UsbHostStatus::Crashed:
        return name + " crashed (" + outcome.answer.detail + ")";
    }
    return {};
}

} // namespace kelvane
