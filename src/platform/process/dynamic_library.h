// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// What a library's file name ends in: ".so", on Windows ".dll".
extern const char* const kLibrarySuffix;

// A shared library loaded at run time; unloaded when the object goes.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads `name`, unloading whatever was loaded before. A name without '/'
    // is taken from the executable's folder when it is there, else found by
    // the system's library search. False, with the reason in Error(), when
    // nothing could be loaded.
    bool Load(const std::string& name);
    // The address of an exported symbol, or nullptr (reason in Error()).
    void* Symbol(const std::string& name);
    void Unload();
    bool IsLoaded() const { return m_handle != nullptr; }
    const std::string& Error() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// The library of that name kept for the rest of the process, loaded or not:
// one that holds Qt, once loaded, must stay, or its exit handlers and caches
// point nowhere.
DynamicLibrary& KeptLibrary(const std::string& name);

} // namespace kelvane
