// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvane {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Value types, numbered as the platform numbers them. A number not named here
// (hex(5), hex(a), ...) is kept as read.
enum class RegistryType : uint32_t {
    None = 0,
    String = 1,
    ExpandableString = 2,
    Binary = 3,
    Number32 = 4,
    MultiString = 7,
    Number64 = 11,
};

struct RegistryValue {
    std::string name; // in the project code page; empty for the default value
    RegistryType type = RegistryType::None;
    // As the platform's narrow calls return it: texts in the project code page
    // with their terminating NUL (two at the end of a multi-string), numbers
    // little-endian, anything else as the bytes read.
    std::string data;
};

// ASCII letters in lower case, the trail bytes of two-byte characters of the
// project code page left alone: the form names are compared in.
std::string FoldRegistryName(std::string_view name);

// The names of a key path ("Software\KVX\LinkDesk"): split at '\' (not at a
// trail byte that looks like one), empty names dropped.
std::vector<std::string> SplitRegistryPath(std::string_view path);

// One key: its values in the order they were first defined, and the names of
// its direct subkeys.
class RegistryKeyData {
public:
    const std::vector<RegistryValue>& Values() const { return m_values; }
    const std::vector<std::string>& Subkeys() const { return m_subkeys; }
    // Without regard to ASCII case; nullptr when the key has no such value.
    const RegistryValue* FindValue(std::string_view name) const;

    // A value of the same name is replaced in place.
    void SetValue(RegistryValue value);
    void RemoveValue(std::string_view name);
    void AddSubkey(std::string name) { m_subkeys.push_back(std::move(name)); }
    void RemoveSubkey(std::string_view foldedName);

private:
    std::vector<RegistryValue> m_values;
    std::vector<std::string> m_subkeys;
    std::unordered_map<std::string, size_t> m_valueIndex; // folded name -> m_values
};

// The keys one registry file defines, for each root.
class RegistryFile {
public:
    // `path` relative to the root, any case; "" is the root itself, which
    // exists when the file has a key under it.
    const RegistryKeyData* FindKey(RegistryRoot root, std::string_view path) const;

    // Creates the key and its missing parents; returns the key.
    RegistryKeyData& CreateKey(RegistryRoot root, const std::vector<std::string>& names);
    // Removes the key with all its subkeys.
    void DeleteKey(RegistryRoot root, const std::vector<std::string>& names);

private:
    std::unordered_map<std::string, RegistryKeyData>& Keys(RegistryRoot root) {
        return m_keys[root == RegistryRoot::LocalMachine ? 0 : 1];
    }
    const std::unordered_map<std::string, RegistryKeyData>& Keys(RegistryRoot root) const {
        return m_keys[root == RegistryRoot::LocalMachine ? 0 : 1];
    }

    // By the folded path, names joined with '\'.
    std::unordered_map<std::string, RegistryKeyData> m_keys[2];
};

struct RegistryParseError {
    size_t line = 0;
    std::string message;
};

// Reads a "REGEDIT4" or "Windows Registry Editor Version 5.00" export (8-bit,
// or UTF-16LE with a byte-order mark) or a Wine hive ("WINE REGISTRY Version
// 2"), whose keys are relative to `hiveRoot`. An export's keys go under the
// roots they name; keys of other roots are left out. False, with the first
// fault, when the bytes are not such a file.
bool ParseRegistryFile(std::string_view bytes, RegistryRoot hiveRoot, RegistryFile& file,
                       RegistryParseError& error);

} // namespace kelvane
