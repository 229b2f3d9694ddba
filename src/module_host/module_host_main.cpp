// SPDX-License-Identifier: MIT
// kelvane-module-host: makes one call into a conversion module for the
// program, in a process of its own, so that nothing the module does can
// reach the program. The request comes on standard input, the answer goes
// to standard output; see convert/module_host_protocol.h.
#include "convert/module_host_protocol.h"
#include "module_host/module_call.h"
#include "platform/host_processes.h"
#include "platform/host_streams.h"

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

void AnswerCrash(const std::string& description) {
    kelvane::ModuleHostAnswer answer;
    answer.status = kelvane::ModuleHostStatus::Crashed;
    answer.detail = description;
    kelvane::WriteAnswerStream(g_answerStream, kelvane::EncodeModuleAnswer(answer));
}

} // namespace

int main() {
    g_answerStream = kelvane::TakeAnswerStream();
    if (g_answerStream < 0) {
        std::fputs("kelvane-module-host: cannot set up the answer stream\n", stderr);
        return 2;
    }
    kelvane::SplitOffNamespaceFirst(AnswerCrash);
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
    kelvane::ReportCrashesTo(AnswerCrash);
    kelvane::AdoptOrphans();
    kelvane::ModuleHostAnswer answer = kelvane::AnswerModuleRequest(*request);
    answer.leftProcesses = kelvane::StopLeftoverProcesses();
    if (!kelvane::WriteAnswerStream(g_answerStream, kelvane::EncodeModuleAnswer(answer)))
        return 2;
    // Straight out: a module's exit handlers have no say in the answer.
    std::fflush(stderr);
    std::_Exit(0);
}
