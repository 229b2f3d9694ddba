// SPDX-License-Identifier: MIT
// The registry reader: exports and Wine hives, the settings key looked up as
// the installed models are.
#include "platform/registry/registry_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using kelvane::RegistryRoot;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const RegistryRoot hiveRoot : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        kelvane::RegistryFile file;
        kelvane::RegistryParseError error;
        if (!kelvane::ParseRegistryFile(bytes, hiveRoot, file, error))
            continue;
        for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser})
            for (const char* path :
                 {"", "Software\\KVX\\LinkDesk\\Settings",
                  "Software\\Wow6432Node\\KVX\\LinkDesk\\Settings", "Software\\KVX\\ferroSCOPE"})
                if (const kelvane::RegistryKeyData* key = file.FindKey(root, path)) {
                    // Every value is found again by its own name.
                    for (const kelvane::RegistryValue& value : key->Values())
                        if (key->FindValue(value.name) == nullptr)
                            std::abort();
                    for (const std::string& subkey : key->Subkeys())
                        kelvane::FoldRegistryName(subkey);
                }
    }
    kelvane::SplitRegistryPath(bytes);
    return 0;
}
