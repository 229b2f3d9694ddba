// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/message_box.h"
#include "platform/files/file_reader.h"
#include "store/project_settings.h"

#include <cstdint>
#include <string>

namespace kelvane {

class FileSetTransaction;

// One companion data file (UER, SBU or MCR), never interpreted. A load
// checks it and keeps it open instead of reading it; a save copies it from
// that open file in the kernel, so the bytes written are the bytes of the
// file that was opened, even when another has since taken its name. A file
// changed in place after the load is refused at the save, not written.
class CompanionBuffer {
public:
    static constexpr uint32_t kUerCapacity = 4096000;
    static constexpr uint32_t kSbuCapacity = 585728;
    static constexpr uint32_t kMcrCapacity = 4096000;

    // The buffer of `kind` (FILE_UER, FILE_SBU or FILE_MCR) with its capacity
    // and messages. Save failures are shown through `messageBoxes`.
    CompanionBuffer(ProjectSettings& settings, ProjectFileKind kind,
                    MessageBoxService& messageBoxes);
    virtual ~CompanionBuffer();
    CompanionBuffer(const CompanionBuffer&) = delete;
    CompanionBuffer& operator=(const CompanionBuffer&) = delete;

    // Opens the file; false, silently, when it cannot be read or is larger
    // than the capacity. Maintains the entry's m_bLoaded.
    bool LoadCompanion(const std::string& path);
    // Writes the bytes of the file of the last load; shows a message on
    // failure, and a failed save leaves the previous file as it was.
    // With `set`, the file is one member of it, put in place by the set's
    // Commit; without, at once.
    bool SaveCompanion(const std::string& path, FileSetTransaction* set = nullptr);

    uint32_t Capacity() const { return m_nCapacity; }
    // The file's length at the last load that could open it.
    uint64_t Size() const { return m_nSize; }

private:
    // Shows the message with the reason for `error` (none when 0) and the path.
    bool Report(unsigned messageId, int error, const std::string& path);

    ProjectSettings& m_settings;
    ProjectFileKind m_kind;
    MessageBoxService& m_messageBoxes;
    uint32_t m_nCapacity = 0;
    unsigned m_nNotWritableId = 0;
    unsigned m_nWriteErrorId = 0;
    uint64_t m_nSize = 0;
    // Whether the bytes of the last load are still what it read: the file
    // changed in place is refused; one put in its place changes nothing.
    bool SourceUnchanged();
    bool HasSource() const { return m_source.IsOpen() || m_bHeld; }

    FileReader m_source; // open after a load that worked
    // Where no open file can be replaced (Windows), a load reads the bytes
    // and lets go of the file, so that other programs can save over it.
    bool m_bHeld = false;
    std::string m_heldBytes;
    std::string m_heldPath;
    FileIdentity m_heldIdentity;
};

} // namespace kelvane
