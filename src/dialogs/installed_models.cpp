// SPDX-License-Identifier: MIT
#include "dialogs/installed_models.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace kelvane {
namespace {

constexpr const char* kProductKey = "Software\\KVX\\ferroSCOPE";
constexpr const char* kProductNameValue = "FSWG_NAME";
constexpr const char* kProductName = "ferroSCOPE";
constexpr const char* kLinkDeskSettingsKey = "Software\\KVX\\LinkDesk\\Settings";
constexpr std::string_view kModelMarker = "instdir_";

constexpr uint32_t kProductNameCapacity = 64;
constexpr uint32_t kValueDataCapacity = 1024;

constexpr int kCurrentUser = 1;
constexpr int kLocalMachine = 2;

std::atomic<int> g_settingsRoot{0};

std::mutex g_sourcesLock;
std::optional<RegistrySources> g_testSources;

// Data read as text: up to its first NUL, and never past its end, whatever
// its type.
std::string TextOf(const std::string& data) {
    return data.substr(0, data.find('\0'));
}

} // namespace

RegistrySources SettingsRegistrySources() {
    const std::lock_guard<std::mutex> guard(g_sourcesLock);
    return g_testSources ? *g_testSources : DefaultRegistrySources();
}

void SetRegistrySourcesForTesting(std::optional<RegistrySources> sources) {
    const std::lock_guard<std::mutex> guard(g_sourcesLock);
    g_testSources = std::move(sources);
}

void ResetSettingsRootForTesting() {
    g_settingsRoot = 0;
}

int CachedSettingsRoot() {
    return g_settingsRoot;
}

int GetSettingsRoot() {
    RegistryKey key;
    if (key.Open(SettingsRegistrySources(), RegistryRoot::LocalMachine, kProductKey) !=
        kRegistrySuccess)
        return kCurrentUser;
    std::string name;
    uint32_t size = kProductNameCapacity;
    const long read = key.QueryValue(kProductNameValue, nullptr, &name, &size);
    key.Close();
    if (read != kRegistrySuccess)
        return kCurrentUser;
    return TextOf(name) == kProductName ? kLocalMachine : kCurrentUser;
}

long OpenSettingsKey(const std::string& subkey, RegistryKey& key) {
    if (g_settingsRoot == 0)
        g_settingsRoot = GetSettingsRoot();
    const RegistryRoot root =
        g_settingsRoot == kLocalMachine ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    return key.Open(SettingsRegistrySources(), root, subkey);
}

bool EnumStringValues(const std::string& subkey, std::vector<std::string>& names,
                      std::vector<std::string>& data) {
    RegistryKey key;
    if (OpenSettingsKey(subkey, key) != kRegistrySuccess)
        return false;
    RegistryKeyInfo info;
    if (key.QueryInfo(info) != kRegistrySuccess)
        return false;
    const uint32_t nameCapacity = std::max(info.maxSubkeyNameLength, info.maxValueNameLength) + 1;
    if (info.valueCount == 0)
        return false;
    for (uint32_t index = 0; index < info.valueCount; ++index) {
        std::string name;
        uint32_t nameLength = nameCapacity;
        if (key.EnumValue(index, name, nameLength, nullptr, nullptr, nullptr) != kRegistrySuccess)
            continue;
        RegistryType type = RegistryType::None;
        std::string text;
        uint32_t size = kValueDataCapacity;
        if (key.QueryValue(name, &type, &text, &size) != kRegistrySuccess ||
            type != RegistryType::String)
            continue;
        names.push_back(name);
        data.push_back(TextOf(text));
    }
    return true;
}

void SortStringList(std::vector<std::string>& list) {
    if (list.size() < 2)
        return;
    // std::string compares its bytes as unsigned char.
    for (size_t unsorted = list.size(); unsorted > 1; --unsorted) {
        bool swapped = false;
        for (size_t i = 0; i + 1 < unsorted; ++i) {
            if (list[i] > list[i + 1]) {
                list[i].swap(list[i + 1]);
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
}

int GetInstalledModels(std::vector<std::string>& models) {
    std::vector<std::string> names;
    std::vector<std::string> paths; // installation folders, not used
    if (!EnumStringValues(kLinkDeskSettingsKey, names, paths))
        return -1;
    size_t taken = 0;
    for (const std::string& name : names) {
        if (name.find(kModelMarker) == std::string::npos)
            continue;
        // The part after the first '_', which the marker guarantees.
        models.push_back(name.substr(name.find('_') + 1));
        ++taken;
    }
    if (taken == 0)
        return -1;
    if (taken == 1)
        return 1;
    SortStringList(models);
    return 2;
}

} // namespace kelvane
