// SPDX-License-Identifier: MIT
#include "platform/process/host_streams.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace kelvane {
namespace {

void (*g_crashReport)(const std::string&) = nullptr;

LONG WINAPI ReportUnhandledException(EXCEPTION_POINTERS* exception) {
    if (g_crashReport != nullptr) {
        char text[64];
        std::snprintf(text, sizeof text, "exception 0x%08lX",
                      static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
        g_crashReport(text);
    }
    TerminateProcess(GetCurrentProcess(), 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int TakeAnswerStream() {
    // Without binary mode the runtime turns LF into CR LF and breaks the block.
    _setmode(_fileno(stdin), _O_BINARY);
    const int answer = _dup(_fileno(stdout));
    if (answer < 0 || _dup2(_fileno(stderr), _fileno(stdout)) < 0)
        return -1;
    _setmode(answer, _O_BINARY);
    return answer;
}

bool ReadRequestStream(std::string& bytes, size_t limit) {
    bytes.clear();
    char chunk[4096];
    for (;;) {
        const int got = _read(_fileno(stdin), chunk, sizeof chunk);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (bytes.size() + static_cast<size_t>(got) > limit)
            return false;
        bytes.append(chunk, static_cast<size_t>(got));
    }
}

bool WriteAnswerStream(int stream, std::string_view bytes) {
    while (!bytes.empty()) {
        const int written = _write(stream, bytes.data(), static_cast<unsigned>(bytes.size()));
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

void ReportCrashesTo(void (*report)(const std::string&)) {
    g_crashReport = report;
    // No error boxes: a crash must end the host, never wait for a click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportUnhandledException);
}

} // namespace kelvane
