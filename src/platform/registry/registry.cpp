// SPDX-License-Identifier: MIT
#include "platform/registry/registry.h"

#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>

namespace kelvane {
namespace {

// Far more than any registry holds; a bigger file is not read into memory.
constexpr uint64_t kMaxFileSize = uint64_t{64} << 20;

enum class Loaded { Missing, Unusable, Yes };

// A file is parsed again only when it has changed or the code page its texts
// were converted to is another.
struct Signature {
    FileIdentity identity;
    std::string codePage;

    bool operator==(const Signature&) const = default;
};

struct CachedFile {
    Signature signature;
    std::shared_ptr<const RegistryFile> file; // null: the file cannot be used
};

std::mutex g_lock;
std::map<std::pair<std::string, RegistryRoot>, CachedFile> g_cache;
std::set<std::string> g_reported;

// Once per process and file, whatever is wrong with it the next time. A
// fault of the whole file has no line.
void ReportUnusable(const std::string& path, const std::string& what, size_t line = 0) {
    if (!g_reported.insert(path).second)
        return;
    const std::string where = line > 0 ? ":" + std::to_string(line) : std::string();
    std::fprintf(stderr, "kelvane: %s%s: %s; the file is not used\n", ProjectToLocale(path).c_str(),
                 where.c_str(), what.c_str());
}

// Reads and parses the file; null, reported, when it cannot be used.
std::shared_ptr<const RegistryFile> ReadFile(const std::string& path, RegistryRoot root,
                                             bool& missing) {
    FileReader reader;
    if (!reader.Open(path)) {
        missing = reader.Error() == ENOENT || reader.Error() == ENOTDIR;
        if (!missing)
            ReportUnusable(path, reader.Error() == EISDIR ? std::string("it is a folder")
                                                          : std::string("cannot be read: ") +
                                                                std::strerror(reader.Error()));
        return nullptr;
    }
    if (reader.Size() > kMaxFileSize) {
        ReportUnusable(path, "it is larger than 64 MiB");
        return nullptr;
    }
    std::string bytes(static_cast<size_t>(reader.Size()), '\0');
    if (reader.ReadAt(0, bytes.data(), bytes.size()) != bytes.size()) {
        ReportUnusable(path, std::string("cannot be read: ") +
                                 std::strerror(reader.Error() != 0 ? reader.Error() : EIO));
        return nullptr;
    }
    auto file = std::make_shared<RegistryFile>();
    RegistryParseError error;
    if (!ParseRegistryFile(bytes, root, *file, error)) {
        ReportUnusable(path, error.message, error.line);
        return nullptr;
    }
    return file;
}

Loaded LoadFile(const std::string& path, RegistryRoot root,
                std::shared_ptr<const RegistryFile>& file) {
    const std::lock_guard<std::mutex> guard(g_lock);
    const auto cacheKey = std::make_pair(path, root);
    Signature signature{{}, ProjectCodePage()};
    errno = 0;
    const PathKind kind = KindOfPath(path, &signature.identity);
    if (kind == PathKind::Missing) {
        const int error = errno;
        g_cache.erase(cacheKey);
        if (error == ENOENT || error == ENOTDIR || error == 0)
            return Loaded::Missing;
        ReportUnusable(path, std::string("cannot be read: ") + std::strerror(error));
        return Loaded::Unusable;
    }
    // Not opened: a pipe or a device could block the program or never end.
    if (kind == PathKind::Other) {
        ReportUnusable(path, "it is not a regular file");
        g_cache[cacheKey] = CachedFile{signature, nullptr};
        return Loaded::Unusable;
    }
    if (const auto cached = g_cache.find(cacheKey);
        cached != g_cache.end() && cached->second.signature == signature) {
        file = cached->second.file;
        return file ? Loaded::Yes : Loaded::Unusable;
    }
    bool missing = false;
    file = ReadFile(path, root, missing);
    if (missing) {
        g_cache.erase(cacheKey);
        return Loaded::Missing;
    }
    g_cache[cacheKey] = CachedFile{signature, file};
    return file ? Loaded::Yes : Loaded::Unusable;
}

// Software\X as a 32-bit installer on a 64-bit system writes it.
std::optional<std::string> Wow6432NodePath(std::string_view subkey) {
    const std::vector<std::string> names = SplitRegistryPath(subkey);
    if (names.size() < 2 || FoldRegistryName(names[0]) != "software" ||
        FoldRegistryName(names[1]) == "wow6432node")
        return std::nullopt;
    std::string path = names[0] + "\\Wow6432Node";
    for (size_t i = 1; i < names.size(); ++i)
        path += '\\' + names[i];
    return path;
}

const RegistryKeyData* FindKeyIn(const RegistryFile& file, RegistryRoot root,
                                 std::string_view subkey) {
    if (const RegistryKeyData* key = file.FindKey(root, subkey))
        return key;
    if (root == RegistryRoot::LocalMachine)
        if (const std::optional<std::string> wow = Wow6432NodePath(subkey))
            return file.FindKey(root, *wow);
    return nullptr;
}

bool Exists(const std::string& path) {
    return KindOfPath(path) != PathKind::Missing;
}

uint32_t Length(size_t length) {
    // Files are capped far below 4 GiB.
    return static_cast<uint32_t>(length);
}

} // namespace

std::string SystemRegistryKeyName(RegistryRoot root, std::string_view subkey) {
    return std::string(root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                          : "HKEY_CURRENT_USER\\") +
           std::string(subkey);
}

long RegistryKey::Open(const RegistrySources& sources, RegistryRoot root, std::string_view subkey) {
    Close();
    if (sources.systemRegistry)
        if (auto file = ReadSystemRegistryKey(root, subkey)) {
            m_key = file->FindKey(root, subkey);
            m_file = std::move(file);
            m_sourceFile = SystemRegistryKeyName(root, subkey);
            return kRegistrySuccess;
        }
    for (const std::string& path : sources.Files(root)) {
        std::shared_ptr<const RegistryFile> file;
        if (LoadFile(path, root, file) != Loaded::Yes)
            continue;
        if (const RegistryKeyData* key = FindKeyIn(*file, root, subkey)) {
            m_file = std::move(file);
            m_key = key;
            m_sourceFile = path;
            return kRegistrySuccess;
        }
    }
    return kRegistryNotFound;
}

void RegistryKey::Close() {
    m_key = nullptr;
    m_file.reset();
    m_sourceFile.clear();
}

long RegistryKey::QueryInfo(RegistryKeyInfo& info) const {
    if (!IsOpen())
        return kRegistryInvalidHandle;
    info = RegistryKeyInfo{};
    info.subkeyCount = Length(m_key->Subkeys().size());
    for (const std::string& name : m_key->Subkeys())
        info.maxSubkeyNameLength = std::max(info.maxSubkeyNameLength, Length(name.size()));
    info.valueCount = Length(m_key->Values().size());
    for (const RegistryValue& value : m_key->Values()) {
        info.maxValueNameLength = std::max(info.maxValueNameLength, Length(value.name.size()));
        info.maxValueDataLength = std::max(info.maxValueDataLength, Length(value.data.size()));
    }
    return kRegistrySuccess;
}

long RegistryKey::EnumValue(uint32_t index, std::string& name, uint32_t& nameLength,
                            RegistryType* type, std::string* data, uint32_t* dataSize) const {
    if (!IsOpen())
        return kRegistryInvalidHandle;
    if (index >= m_key->Values().size())
        return kRegistryNoMoreItems;
    const RegistryValue& value = m_key->Values()[index];
    if (value.name.size() >= nameLength)
        return kRegistryMoreData; // no room for the NUL
    name = value.name;
    nameLength = Length(value.name.size());
    return Read(value, type, data, dataSize);
}

long RegistryKey::QueryValue(std::string_view name, RegistryType* type, std::string* data,
                             uint32_t* dataSize) const {
    if (!IsOpen())
        return kRegistryInvalidHandle;
    const RegistryValue* value = m_key->FindValue(name);
    return value != nullptr ? Read(*value, type, data, dataSize) : kRegistryNotFound;
}

long RegistryKey::Read(const RegistryValue& value, RegistryType* type, std::string* data,
                       uint32_t* dataSize) const {
    if (data != nullptr && dataSize == nullptr)
        return kRegistryInvalidParameter;
    if (type != nullptr)
        *type = value.type;
    if (dataSize == nullptr)
        return kRegistrySuccess;
    const uint32_t size = Length(value.data.size());
    const bool fits = size <= *dataSize;
    *dataSize = size;
    if (data == nullptr)
        return kRegistrySuccess;
    if (!fits)
        return kRegistryMoreData;
    *data = value.data;
    return kRegistrySuccess;
}

std::vector<RegistrySourceReport>
ExamineRegistrySources(const RegistrySources& sources, RegistryRoot root, std::string_view subkey) {
    std::vector<RegistrySourceReport> reports;
    bool found = false;
    if (sources.systemRegistry) {
        found = ReadSystemRegistryKey(root, subkey) != nullptr;
        reports.push_back(
            {SystemRegistryKeyName(root, subkey),
             found ? RegistrySourceState::HoldsKey : RegistrySourceState::WithoutKey});
    }
    for (const std::string& path : sources.Files(root)) {
        RegistrySourceReport& report = reports.emplace_back(RegistrySourceReport{path, {}});
        if (found) {
            report.state =
                Exists(path) ? RegistrySourceState::NotNeeded : RegistrySourceState::Missing;
            continue;
        }
        std::shared_ptr<const RegistryFile> file;
        switch (LoadFile(path, root, file)) {
        case Loaded::Missing:
            report.state = RegistrySourceState::Missing;
            break;
        case Loaded::Unusable:
            report.state = RegistrySourceState::Unusable;
            break;
        case Loaded::Yes:
            found = FindKeyIn(*file, root, subkey) != nullptr;
            report.state = found ? RegistrySourceState::HoldsKey : RegistrySourceState::WithoutKey;
            break;
        }
    }
    return reports;
}

} // namespace kelvane
