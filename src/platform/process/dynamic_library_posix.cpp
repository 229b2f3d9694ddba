// SPDX-License-Identifier: MIT
#include "platform/process/dynamic_library.h"

#include "platform/process/executable_path.h"
#include "platform/text/code_page.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

std::string LastLoaderError(const char* fallback) {
    const char* text = dlerror();
    // The loader speaks the locale's charset.
    return text != nullptr ? LocaleToProject(text) : std::string(fallback);
}

// Modules and the libraries shipped with the program live beside it; prefer
// them over any library of the same name on the system's search path.
std::string BesideExecutable(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    const std::string folder = ExecutableFolder();
    if (folder.empty())
        return name;
    std::string candidate = folder + "/" + name;
    struct stat info {};
    return stat(NativePath(candidate).c_str(), &info) == 0 ? candidate : name;
}

} // namespace

const char* const kLibrarySuffix = ".so";

DynamicLibrary::~DynamicLibrary() {
    Unload();
}

bool DynamicLibrary::Load(const std::string& name) {
    Unload();
    m_error.clear();
    // dlopen takes an empty name for the program itself, never a module.
    if (name.empty()) {
        m_error = "empty library name";
        return false;
    }
    dlerror();
    m_handle = dlopen(NativePath(BesideExecutable(name)).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        m_error = LastLoaderError("cannot load the library");
    return m_handle != nullptr;
}

void* DynamicLibrary::Symbol(const std::string& name) {
    if (m_handle == nullptr) {
        m_error = "no library loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(m_handle, name.c_str());
    if (address == nullptr)
        m_error = LastLoaderError("symbol not found");
    return address;
}

void DynamicLibrary::Unload() {
    if (m_handle != nullptr)
        dlclose(m_handle);
    m_handle = nullptr;
}

} // namespace kelvane
