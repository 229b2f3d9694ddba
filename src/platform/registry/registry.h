// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/registry_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// The read-only registry of the product family, over text files. The calls
// answer with the platform's result codes.
inline constexpr long kRegistrySuccess = 0;
inline constexpr long kRegistryNotFound = 2;
inline constexpr long kRegistryInvalidHandle = 6;
inline constexpr long kRegistryInvalidParameter = 87;
inline constexpr long kRegistryMoreData = 234;
inline constexpr long kRegistryNoMoreItems = 259;

// The files each root is read from, in the project code page, in order of
// precedence: the first file that has a key is the only one it is read from.
struct RegistrySources {
    std::vector<std::string> localMachine;
    std::vector<std::string> currentUser;
    // Windows: the system's own registry, read before any file.
    bool systemRegistry = false;

    const std::vector<std::string>& Files(RegistryRoot root) const {
        return root == RegistryRoot::LocalMachine ? localMachine : currentUser;
    }
};

// Local machine: /etc/kelvane/machine.reg, then the Wine prefix's system.reg;
// current user: ${XDG_CONFIG_HOME:-~/.config}/kelvane/user.reg, then the
// prefix's user.reg. Read from the environment on every call. On Windows the
// system's registry and no file.
RegistrySources DefaultRegistrySources();

// What the system's registry holds under `subkey` of `root`, the key alone
// with its values and the names of its subkeys, as a file would hold it;
// nullptr where there is no such key or no system registry (POSIX). Under
// the local machine the 32-bit view is read, where a 32-bit installer writes.
std::shared_ptr<const RegistryFile> ReadSystemRegistryKey(RegistryRoot root,
                                                          std::string_view subkey);
// How the report names the system's registry key: "HKEY_CURRENT_USER\...".
std::string SystemRegistryKeyName(RegistryRoot root, std::string_view subkey);

struct RegistryKeyInfo {
    uint32_t subkeyCount = 0;
    uint32_t maxSubkeyNameLength = 0; // bytes, without a NUL
    uint32_t valueCount = 0;
    uint32_t maxValueNameLength = 0; // bytes, without a NUL
    uint32_t maxValueDataLength = 0;
};

// An open key; closed when the object goes. Names and texts are bytes in the
// project code page; a text's data counts its terminating NUL.
class RegistryKey {
public:
    // Opens `subkey` (e.g. "Software\KVX\LinkDesk\Settings", any case; "" is
    // the root) from the first file of `root` that has it. Under the local
    // machine, Software\X is also found as Software\Wow6432Node\X, where a
    // 32-bit installer puts it. kRegistryNotFound when no file has it.
    long Open(const RegistrySources& sources, RegistryRoot root, std::string_view subkey);
    void Close();
    bool IsOpen() const { return m_key != nullptr; }
    // The file the key is read from; empty while closed.
    const std::string& SourceFile() const { return m_sourceFile; }

    long QueryInfo(RegistryKeyInfo& info) const;
    // Value `index` in the order of the file. `nameLength`: in, the capacity
    // for the name with its NUL; out, the name's length. kRegistryMoreData,
    // the name left alone, when it does not fit; kRegistryNoMoreItems past
    // the last value. The data as in QueryValue.
    long EnumValue(uint32_t index, std::string& name, uint32_t& nameLength, RegistryType* type,
                   std::string* data, uint32_t* dataSize) const;
    // The value `name` (any case; "" for the default value). `dataSize`: in,
    // the capacity for the data; out, its size. kRegistryMoreData, with the
    // size needed, when the data does not fit. Without `data`, only the size
    // is asked.
    long QueryValue(std::string_view name, RegistryType* type, std::string* data,
                    uint32_t* dataSize) const;

private:
    long Read(const RegistryValue& value, RegistryType* type, std::string* data,
              uint32_t* dataSize) const;

    std::shared_ptr<const RegistryFile> m_file; // keeps m_key alive
    const RegistryKeyData* m_key = nullptr;
    std::string m_sourceFile;
};

// What each file of a root says about one key, for a report to the user.
enum class RegistrySourceState {
    Missing,    // no such file
    Unusable,   // it exists but cannot be read or parsed
    WithoutKey, // read, no such key
    HoldsKey,   // the key is read from it
    NotNeeded,  // it exists; an earlier file holds the key
};

struct RegistrySourceReport {
    std::string path;
    RegistrySourceState state = RegistrySourceState::Missing;
};

std::vector<RegistrySourceReport>
ExamineRegistrySources(const RegistrySources& sources, RegistryRoot root, std::string_view subkey);

} // namespace kelvane
