// SPDX-License-Identifier: MIT
// kelvane-module-host: makes one call into a conversion module or a USB
// access library for the program, in a process of its own, so that nothing
// the library does can reach the program. The request comes on standard input, the answer goes
// to standard output; see convert/module_host_protocol.h.
#include "convert/module_host_protocol.h"
#include "convert/usb_host_protocol.h"
#include "module_host/module_call.h"
#include "module_host/usb_call.h"
#include "platform/process/host_processes.h"
#include "platform/process/host_streams.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// In a sanitizer build the host must still die of a module's crash by its
// signal, and a module's exit must keep its status.
extern "C" const char* __asan_default_options() {
    return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_abort=0:detect_leaks=0";
}
#endif

namespace {

int g_answerStream = -1;
kelvane::ModuleHostCall g_call = kelvane::ModuleHostCall::Probe;

// Answered in the kind of answer the program waits for.
void AnswerCrash(const std::string& description) {
    if (g_call == kelvane::ModuleHostCall::ListUsbDevices) {
        kelvane::UsbHostAnswer answer;
        answer.status = kelvane::UsbHostStatus::Crashed;
        answer.detail = description;
        kelvane::WriteAnswerStream(g_answerStream, kelvane::EncodeUsbAnswer(answer));
        return;
    }
    kelvane::ModuleHostAnswer answer;
    answer.status = kelvane::ModuleHostStatus::Crashed;
    answer.detail = description;
    kelvane::WriteAnswerStream(g_answerStream, kelvane::EncodeModuleAnswer(answer));
}

std::string Answer(const kelvane::ModuleHostRequest& request) {
    if (request.call == kelvane::ModuleHostCall::ListUsbDevices) {
        const kelvane::UsbHostAnswer answer = kelvane::AnswerUsbRequest(request);
        kelvane::StopLeftoverProcesses();
        return kelvane::EncodeUsbAnswer(answer);
    }
    kelvane::ModuleHostAnswer answer = kelvane::AnswerModuleRequest(request);
    answer.leftProcesses = kelvane::StopLeftoverProcesses();
    return kelvane::EncodeModuleAnswer(answer);
}

} // namespace

int main() {
    g_answerStream = kelvane::TakeAnswerStream();
    if (g_answerStream < 0) {
        std::fputs("kelvane-module-host: cannot set up the answer stream\n", stderr);
        return 2;
    }
    // Read before the namespace's first process splits off, so that it knows
    // the kind of answer a crash of the call needs.
    std::string bytes, why;
    if (!kelvane::ReadRequestStream(bytes, kelvane::kModuleRequestLimit)) {
        std::fputs("kelvane-module-host: the request cannot be read\n", stderr);
        return 2;
    }
    const auto request = kelvane::DecodeModuleRequest(bytes, why);
    if (!request) {
        std::fprintf(stderr, "kelvane-module-host: %s\n", why.c_str());
        return 2;
    }
    g_call = request->call;
    kelvane::SplitOffNamespaceFirst(AnswerCrash);
    kelvane::ReportCrashesTo(AnswerCrash);
    kelvane::AdoptOrphans();
    if (!kelvane::WriteAnswerStream(g_answerStream, Answer(*request)))
        return 2;
    // Straight out: a module's exit handlers have no say in the answer.
    std::fflush(stderr);
    std::_Exit(0);
}
