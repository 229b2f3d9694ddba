// SPDX-License-Identifier: MIT
#include "platform/registry/registry_file.h"

#include "platform/text/code_page.h"

namespace kelvane {
namespace {

// The length of the character at `position`, without asking the code page
// for the ASCII that most names are made of.
size_t CharacterLength(std::string_view text, size_t position) {
    return static_cast<unsigned char>(text[position]) < 0x80
               ? 1
               : ProjectCharacterLength(text, position);
}

std::string JoinFolded(const std::vector<std::string>& names, size_t count) {
    std::string path;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            path += '\\';
        path += FoldRegistryName(names[i]);
    }
    return path;
}

} // namespace

std::string FoldRegistryName(std::string_view name) {
    std::string folded(name);
    for (size_t i = 0; i < folded.size();) {
        if (folded[i] >= 'A' && folded[i] <= 'Z')
            folded[i] = static_cast<char>(folded[i] - 'A' + 'a');
        i += CharacterLength(name, i);
    }
    return folded;
}

std::vector<std::string> SplitRegistryPath(std::string_view path) {
    std::vector<std::string> names;
    size_t start = 0;
    for (size_t i = 0; i <= path.size();) {
        if (i == path.size() || path[i] == '\\') {
            if (i > start)
                names.emplace_back(path.substr(start, i - start));
            start = ++i;
            continue;
        }
        i += CharacterLength(path, i);
    }
    return names;
}

const RegistryValue* RegistryKeyData::FindValue(std::string_view name) const {
    const auto found = m_valueIndex.find(FoldRegistryName(name));
    return found == m_valueIndex.end() ? nullptr : &m_values[found->second];
}

void RegistryKeyData::SetValue(RegistryValue value) {
    const auto [entry, added] = m_valueIndex.emplace(FoldRegistryName(value.name), m_values.size());
    if (added) {
        m_values.push_back(std::move(value));
        return;
    }
    // Redefined: the last data counts, the first place in the order stays.
    RegistryValue& kept = m_values[entry->second];
    kept.type = value.type;
    kept.data = std::move(value.data);
}

void RegistryKeyData::RemoveValue(std::string_view name) {
    const auto found = m_valueIndex.find(FoldRegistryName(name));
    if (found == m_valueIndex.end())
        return;
    const size_t removed = found->second;
    m_valueIndex.erase(found);
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(removed));
    for (auto& [folded, index] : m_valueIndex)
        if (index > removed)
            --index;
}

void RegistryKeyData::RemoveSubkey(std::string_view foldedName) {
    std::erase_if(m_subkeys,
                  [&](const std::string& name) { return FoldRegistryName(name) == foldedName; });
}

const RegistryKeyData* RegistryFile::FindKey(RegistryRoot root, std::string_view path) const {
    const std::vector<std::string> names = SplitRegistryPath(path);
    const auto& keys = Keys(root);
    const auto found = keys.find(JoinFolded(names, names.size()));
    return found == keys.end() ? nullptr : &found->second;
}

RegistryKeyData& RegistryFile::CreateKey(RegistryRoot root, const std::vector<std::string>& names) {
    auto& keys = Keys(root);
    // The root exists as soon as anything is under it.
    RegistryKeyData* key = &keys[std::string()];
    for (size_t depth = 1; depth <= names.size(); ++depth) {
        const auto [entry, added] = keys.try_emplace(JoinFolded(names, depth));
        if (added)
            key->AddSubkey(names[depth - 1]);
        key = &entry->second;
    }
    return *key;
}

void RegistryFile::DeleteKey(RegistryRoot root, const std::vector<std::string>& names) {
    auto& keys = Keys(root);
    if (names.empty()) {
        keys.clear();
        return;
    }
    const std::string path = JoinFolded(names, names.size());
    const std::string below = path + '\\';
    std::erase_if(keys, [&](const auto& entry) {
        return entry.first == path || entry.first.starts_with(below);
    });
    if (const auto parent = keys.find(JoinFolded(names, names.size() - 1)); parent != keys.end())
        parent->second.RemoveSubkey(FoldRegistryName(names.back()));
}

} // namespace kelvane
