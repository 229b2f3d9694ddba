// SPDX-License-Identifier: MIT
#pragma once

#include "platform/profile.h"

#include <string>

namespace kelvane {

// The profile of kelvane-cli: the desktop program's QSettings file, read and
// written by QSettings in kelvane-qsettings.so, which is loaded only when a
// value must be read or changed. Every open writes its folder, mostly the
// one the file holds already; that is checked in the file itself, so most
// commands start and end without loading Qt.
class CliProfile : public Profile {
public:
    // `store` names the library, beside the program unless it has a '/'.
    explicit CliProfile(std::string store = "kelvane-qsettings.so")
        : m_storeName(std::move(store)) {}

    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view fallback) override;
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;

private:
    // False, having said why on standard error once, when it cannot be loaded.
    bool LoadStore();

    std::string m_storeName;
    bool m_bLoadFailed = false;
    char* (*m_read)(const char*) = nullptr;
    void (*m_free)(char*) = nullptr;
    int (*m_write)(const char*, const char*) = nullptr;
};

} // namespace kelvane
