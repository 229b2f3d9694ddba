// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The models installed on the machine, as LinkDesk, the sibling program of
// the product family, announces them in its settings key: one string value
// per model whose name contains "instdir_". The key is under the local
// machine root when ferroSCOPE was installed for all users, under the current
// user's otherwise. Nothing here shows a message.

// 2 (local machine) when Software\KVX\ferroSCOPE's FSWG_NAME reads
// "ferroSCOPE" exactly, else 1 (current user).
int GetSettingsRoot();
// The root chosen for this process: 0 until the first OpenSettingsKey, then
// 1 or 2 for good.
int CachedSettingsRoot();

// Opens `subkey` under the chosen root; the registry's result code.
long OpenSettingsKey(const std::string& subkey, RegistryKey& key);

// The string values of `subkey`, in the order of the registry: names and
// texts (without their NUL). False when the key does not open or has no
// values; values of other types or with more than 1024 bytes are left out.
bool EnumStringValues(const std::string& subkey, std::vector<std::string>& names,
                      std::vector<std::string>& data);

// Ascending by unsigned bytes, so upper case sorts before lower case; equal
// texts keep their order.
void SortStringList(std::vector<std::string>& list);

// Appends the installed models (callers pass an empty list, which is then
// sorted); -1 when there are none, 1 for one, 2 for more.
int GetInstalledModels(std::vector<std::string>& models);

// The registry files the choice and the list are read from: the default
// ones, or these until reset with std::nullopt.
RegistrySources SettingsRegistrySources();
void SetRegistrySourcesForTesting(std::optional<RegistrySources> sources);
// Makes the next OpenSettingsKey choose the root again.
void ResetSettingsRootForTesting();

} // namespace kelvane
