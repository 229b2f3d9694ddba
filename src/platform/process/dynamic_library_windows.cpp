// SPDX-License-Identifier: MIT
// DynamicLibrary on Windows. Names come in UTF-8, as the module hosts get
// them: the wide call keeps any character, where the narrow one would go
// through the ANSI code page.
#include "platform/process/dynamic_library.h"
#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {
namespace {

std::string LastSystemError(const char* what) {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    return std::string(what) + " (error " + std::to_string(code) + (reason.empty() ? "" : ": ") +
           reason + ")";
}

} // namespace

const char* const kLibrarySuffix = ".dll";

DynamicLibrary::~DynamicLibrary() {
    Unload();
}

bool DynamicLibrary::Load(const std::string& name) {
    Unload();
    m_error.clear();
    if (name.empty()) {
        m_error = "empty library name";
        return false;
    }
    m_handle = LoadLibraryW(WideFromUtf8(name).c_str());
    if (m_handle == nullptr)
        m_error = LastSystemError("cannot load the library");
    return m_handle != nullptr;
}

void* DynamicLibrary::Symbol(const std::string& name) {
    if (m_handle == nullptr) {
        m_error = "no library loaded";
        return nullptr;
    }
    FARPROC address = GetProcAddress(static_cast<HMODULE>(m_handle), name.c_str());
    if (address == nullptr)
        m_error = LastSystemError("symbol not found");
    return reinterpret_cast<void*>(address);
}

void DynamicLibrary::Unload() {
    if (m_handle != nullptr)
        FreeLibrary(static_cast<HMODULE>(m_handle));
    m_handle = nullptr;
}

} // namespace kelvane
