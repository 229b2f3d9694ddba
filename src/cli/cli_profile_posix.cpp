// SPDX-License-Identifier: MIT
#include "cli/cli_profile.h"

#include "platform/process/dynamic_library.h"
#include "platform/registry/profile_file.h"
#include "platform/text/code_page.h"

#include <cstdio>

namespace kelvane {
bool CliProfile::LoadStore() {
    if (m_write != nullptr)
        return true;
    if (m_bLoadFailed)
        return false;
    DynamicLibrary& store = KeptLibrary(m_storeName);
    if (store.IsLoaded() || store.Load(m_storeName)) {
        m_read = reinterpret_cast<char* (*)(const char*)>(store.Symbol("kelvane_qsettings_read"));
        m_free = reinterpret_cast<void (*)(char*)>(store.Symbol("kelvane_qsettings_free"));
        m_write = reinterpret_cast<int (*)(const char*, const char*)>(
            store.Symbol("kelvane_qsettings_write"));
    }
    if (m_read == nullptr || m_free == nullptr || m_write == nullptr) {
        std::fprintf(stderr, "kelvane-cli: the settings are not read or kept: %s\n",
                     store.Error().c_str());
        m_write = nullptr;
        m_bLoadFailed = true;
        return false;
    }
    return true;
}

std::string CliProfile::ReadStored(std::string_view section, std::string_view entry,
                                   std::string_view fallback) {
    if (!LoadStore())
        return std::string(fallback);
    char* value = m_read(ProfileKey(section, entry).c_str());
    if (value == nullptr)
        return std::string(fallback);
    std::string text = Utf8ToProject(value);
    m_free(value);
    return text;
}

bool CliProfile::WriteStored(std::string_view section, std::string_view entry,
                             std::string_view value) {
    const std::string utf8 = ProjectToUtf8(value);
    if (VerbatimStoredProfileValue(section, entry) == utf8)
        return true;
    // A value with a zero byte would be cut by the C interface; the core's texts have none.
    return LoadStore() && utf8.find('\0') == std::string::npos &&
           m_write(ProfileKey(section, entry).c_str(), utf8.c_str()) == 1;
}

} // namespace kelvane
