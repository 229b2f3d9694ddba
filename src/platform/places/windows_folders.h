// SPDX-License-Identifier: MIT
#pragma once

// Helpers of the Windows platform files only.

#include <guiddef.h>
#include <string>

namespace kelvane {

// A known folder (FOLDERID_LocalAppData, FOLDERID_Profile) in the project
// code page; empty when the system does not say.
std::string KnownFolder(const GUID& id);
bool IsFolder(const std::string& path);

} // namespace kelvane
