// SPDX-License-Identifier: MIT
#include "platform/registry/registry_profile.h"
#include "platform/text/windows_text.h"

#include <windows.h>
// The profile's own names, not the old INI functions of windows.h.
#undef GetProfileString
#undef WriteProfileString

namespace kelvane {
namespace {

std::wstring SectionKey(std::string_view section) {
    return L"Software\\KVX\\KLVN_MAIN\\" + WidePath(section);
}

} // namespace

std::string RegistryProfile::GetProfileString(std::string_view section, std::string_view entry,
                                              std::string_view fallback) {
    const std::wstring key = SectionKey(section), name = WidePath(entry);
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return std::string(fallback);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     value.data(), &size) != ERROR_SUCCESS)
        return std::string(fallback);
    value.resize(wcsnlen(value.c_str(), value.size()));
    return ProjectFromWide(value);
}

bool RegistryProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                         std::string_view value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring text = WidePath(value);
    const LONG result = RegSetValueExW(key, WidePath(entry).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace kelvane
