// SPDX-License-Identifier: MIT
#include "platform/process/dynamic_library.h"

#include <map>

namespace kelvane {

DynamicLibrary& KeptLibrary(const std::string& name) {
    static auto* const libraries = new std::map<std::string, DynamicLibrary>;
    return (*libraries)[name];
}

} // namespace kelvane
