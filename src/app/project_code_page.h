// SPDX-License-Identifier: MIT
#pragma once

#include "platform/registry/profile.h"

#include <cstdint>
#include <span>
#include <string>

namespace kelvane {

// Where the code page of the open project came from.
enum class CodePageOrigin { Given, Remembered, Detected };

// Chooses the code page of the project file at `path` (in the code page in
// use) and makes it the project code page: the one given for this run
// (--codepage, KELVANE_CODEPAGE); else the one remembered for the project;
// else the one its bytes tell. Returns `path` in that code page, or as it
// was, keeping the code page in use, where the path has no name there.
std::string UseCodePageOfProject(const std::string& path, Profile& profile,
                                 CodePageOrigin* origin = nullptr);

// Keeps `codePage` as the one of the project at `path` for its next opens.
void RememberProjectCodePage(Profile& profile, const std::string& path,
                             const std::string& codePage);

// `path` (in `from`) in the code page `to`, when every character has a place
// there; empty otherwise.
std::string PathInCodePage(const std::string& path, const std::string& from, const std::string& to);

// A code page the View menu offers, by its command.
struct OfferedCodePage {
    uint32_t commandId;
    const char* codePage;
};
std::span<const OfferedCodePage> OfferedCodePages();
// The code page of an offered command; nullptr for any other command.
const char* OfferedCodePageOf(uint32_t commandId);

} // namespace kelvane
