// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/profile.h"

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
    // The store itself (cli_profile_posix.cpp, cli_profile_windows.cpp).
    std::string ReadStored(std::string_view section, std::string_view entry,
                           std::string_view fallback);
    bool WriteStored(std::string_view section, std::string_view entry, std::string_view value);

    // False, having said why on standard error once, when it cannot be loaded.
    bool LoadStore();

    std::string m_storeName;
    bool m_bLoadFailed = false;
    char* (*m_read)(const char*) = nullptr;
    void (*m_free)(char*) = nullptr;
    int (*m_write)(const char*, const char*) = nullptr;
};

// From now on this process's profile writes are held, the newest value of
// each entry, and read back from there: a batch worker would otherwise write
// and flush the profile file for each project.
void HoldCliProfileWrites();
// Writes the held values to the profile; false when one was not written.
bool WriteHeldCliProfileValues();

} // namespace kelvane
