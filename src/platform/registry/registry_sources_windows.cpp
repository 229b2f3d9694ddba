// SPDX-License-Identifier: MIT
#include "platform/registry/registry.h"
#include "platform/text/code_page.h"
#include "platform/text/windows_text.h"

#include <windows.h>

namespace kelvane {
namespace {

// A key opened for reading; closed when the object goes.
class OpenKey {
public:
    OpenKey(HKEY root, const std::wstring& path, REGSAM view) {
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey() {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// A value's data as the narrow calls give it: texts in the project code
// page with their NULs, anything else as stored.
std::string DataOf(DWORD type, const std::vector<BYTE>& bytes, DWORD size) {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ)
        return std::string(reinterpret_cast<const char*>(bytes.data()), size);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), size / sizeof(wchar_t));
    // A text stored without its NUL gets one, as the narrow call adds it.
    if (text.empty() || text.back() != L'\0')
        text.push_back(L'\0');
    if (type == REG_MULTI_SZ && (text.size() < 2 || text[text.size() - 2] != L'\0'))
        text.push_back(L'\0');
    return ProjectFromWide(text);
}

} // namespace

// Windows keeps its registry in no text file: the system's is read.
RegistrySources DefaultRegistrySources() {
    RegistrySources sources;
    sources.systemRegistry = true;
    return sources;
}

std::shared_ptr<const RegistryFile> ReadSystemRegistryKey(RegistryRoot root,
                                                          std::string_view subkey) {
    const bool machine = root == RegistryRoot::LocalMachine;
    const OpenKey key(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, WidePath(subkey),
                      machine ? KEY_WOW64_32KEY : 0);
    if (key.Get() == nullptr)
        return nullptr;
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr,
                         &values, &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return nullptr;
    auto file = std::make_shared<RegistryFile>();
    RegistryKeyData& data = file->CreateKey(root, SplitRegistryPath(subkey));
    std::vector<wchar_t> name(std::max(longestName, longestSubkey) + 1);
    std::vector<BYTE> bytes(longestData + sizeof(wchar_t));
    for (DWORD index = 0; index < values; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = longestData, type = 0;
        if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, bytes.data(),
                          &size) != ERROR_SUCCESS)
            continue;
        data.SetValue({ProjectFromWide(std::wstring_view(name.data(), nameLength)),
                       static_cast<RegistryType>(type), DataOf(type, bytes, size)});
    }
    for (DWORD index = 0; index < subkeys; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key.Get(), index, name.data(), &nameLength, nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS)
            data.AddSubkey(ProjectFromWide(std::wstring_view(name.data(), nameLength)));
    }
    return file;
}

} // namespace kelvane
