// SPDX-License-Identifier: MIT
// kelvane-qsettings.so: the settings store for a program that does not link
// Qt, loaded only when it must read or change a setting. Plain C, UTF-8.
#include "platform/qt/qsettings_store.h"

#include <cstdlib>
#include <cstring>

extern "C" {

// The value of `key` in memory from malloc, for kelvane_qsettings_free; null
// when the key has none.
__attribute__((visibility("default"))) char* kelvane_qsettings_read(const char* key) {
    const std::optional<std::string> value = kelvane::ReadQSettingsValue(key);
    if (!value)
        return nullptr;
    char* copy = static_cast<char*>(std::malloc(value->size() + 1));
    if (copy != nullptr)
        std::memcpy(copy, value->c_str(), value->size() + 1);
    return copy;
}

__attribute__((visibility("default"))) void kelvane_qsettings_free(char* value) {
    std::free(value);
}

// 1 when the value is stored, 0 when it could not be.
__attribute__((visibility("default"))) int kelvane_qsettings_write(const char* key,
                                                                   const char* value) {
    return kelvane::WriteQSettingsValue(key, value) ? 1 : 0;
}
}
