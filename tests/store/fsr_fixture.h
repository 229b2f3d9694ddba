// SPDX-License-Identifier: MIT
#pragma once

#include "store/fsr_file.h"
#include "test_files.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::test {

// A little-endian value, as the FSR file stores them.
std::string U32(uint32_t value);

// The bytes of an FSR file of `version` holding `records`, blocks in ascending
// id order; FsrWritten lays them out as WriteFsrFile does. The record count is
// the program's own for the version unless given: the version test checks it.
using FsrRecords = std::map<uint32_t, std::string>;
std::string FsrBytes(uint32_t version, const FsrRecords& records, uint32_t count = 0);
std::string FsrWritten(uint32_t version, const FsrRecords& records, uint32_t count = 0);

// Project reference list (record 3) and UER or SBU reference (records 17, 16).
std::string ReferenceList(const std::vector<FsrReferenceEntry>& entries);
std::string NameReference(std::string_view name);

// FRD list (record 19); `width` is 4 or 8 by version, `end` what follows the items.
struct FrdEntry {
    uint64_t a = 0, b = 0;
    std::string text, path;
    uint32_t c = 0;
};
std::string FrdList(const std::vector<FrdEntry>& items, unsigned width,
                    std::string_view end = std::string_view("\0\0\0\0", 4));

// An FsrFile over the settings of project demo in C:\work with an MPV
// folder; the files themselves go to a temporary folder.
struct FsrFixture {
    static constexpr const char* kProject = "C:\\work\\demo.fsp";

    FsrFixture();

    TempFolder folder;
    ProjectSettings settings;
    FsrFile fsr{settings};
    ProjectFileEntry& uer = settings.m_fileSet[FILE_UER];
    ProjectFileEntry& sbu = settings.m_fileSet[FILE_SBU];

    // Writes `bytes` to demo.fsr in the folder and reads it.
    bool Read(const std::string& bytes);
    // Read, then CheckFsrReferences as the open workflow does.
    bool Open(const std::string& bytes) { return Read(bytes) && fsr.CheckFsrReferences(kProject); }
    // WriteFsrFile to out.fsr: the file's bytes, or an empty text when refused.
    std::string Write();
    // BuildFsrRecords, then Write; empty when either refused.
    std::string Save() { return fsr.BuildFsrRecords() ? Write() : std::string(); }
    // Moves the project to `dir` as copy.fsp, copy.uer and copy.sbu, as Save As does.
    void RenameTo(const std::string& dir);
};

} // namespace kelvane::test
