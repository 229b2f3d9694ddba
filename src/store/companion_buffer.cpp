// SPDX-License-Identifier: MIT
#include "store/companion_buffer.h"

#include "platform/files/atomic_file.h"
#include "platform/files/file_name_case.h"
#include "res/failure_reason.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <cerrno>

namespace kelvane {

CompanionBuffer::CompanionBuffer(ProjectSettings& settings, ProjectFileKind kind,
                                 MessageBoxService& messageBoxes)
    : m_settings(settings), m_kind(kind), m_messageBoxes(messageBoxes) {
    switch (kind) {
    case FILE_UER:
        m_nCapacity = kUerCapacity;
        m_nNotWritableId = IDS_UER_NOT_WRITABLE;
        m_nWriteErrorId = IDS_UER_WRITE_ERROR;
        break;
    case FILE_SBU:
        m_nCapacity = kSbuCapacity;
        m_nNotWritableId = IDS_SBU_NOT_WRITABLE;
        m_nWriteErrorId = IDS_SBU_WRITE_ERROR;
        break;
    default:
        m_kind = FILE_MCR;
        m_nCapacity = kMcrCapacity;
        m_nNotWritableId = IDS_MCR_NOT_WRITABLE;
        m_nWriteErrorId = IDS_MCR_WRITE_ERROR;
        break;
    }
}

CompanionBuffer::~CompanionBuffer() = default;

bool CompanionBuffer::LoadCompanion(const std::string& path) {
    ProjectFileEntry& entry = m_settings.m_fileSet[m_kind];
    entry.m_bLoaded = 0;
    entry.m_strLoadFailure.clear();
    entry.m_strFilePath.clear();
    const FoundFile found = FindFileIgnoringCase(path);
    if (found.match == NameMatch::Several) {
        entry.m_strLoadFailure =
            WithReasonText("", LoadResourceString(IDS_NAME_MATCHES_SEVERAL), path);
        return false;
    }
    m_source.Close();
    m_bHeld = false;
    m_heldBytes.clear();
    FileReader& file = m_source;
    if (!file.Open(found.path)) {
        // Only a file that is not there is left to the view's own words.
        if (file.Error() != ENOENT)
            entry.m_strLoadFailure = WithFailureReason("", file.Error(), found.path);
        return false;
    }
    m_nSize = file.Size();
    if (m_nSize > m_nCapacity) {
        file.Close();
        entry.m_strLoadFailure = WithReasonText(
            "", FormatResourceString(IDS_FILE_TOO_LARGE, {std::to_string(m_nCapacity)}),
            found.path);
        return false;
    }
    if (!kOpenFilesCanBeReplaced) {
        m_heldBytes.reserve(static_cast<size_t>(m_nSize));
        if (!file.ReadInPieces([&](std::string_view piece) {
                m_heldBytes.append(piece);
                return true;
            })) {
            entry.m_strLoadFailure = WithFailureReason("", file.Error(), found.path);
            file.Close();
            m_heldBytes.clear();
            return false;
        }
        m_heldIdentity = file.Identity();
        m_heldPath = found.path;
        m_bHeld = true;
        file.Close();
    }
    entry.m_bLoaded = 1;
    entry.m_strFilePath = found.path;
    return true;
}

bool CompanionBuffer::SourceUnchanged() {
    if (!m_bHeld)
        return m_source.Unchanged();
    FileIdentity now;
    if (KindOfPath(m_heldPath, &now) != PathKind::RegularFile || !now.SameFile(m_heldIdentity))
        return true;
    return now.stamp == m_heldIdentity.stamp;
}

bool CompanionBuffer::Report(unsigned messageId, int error, const std::string& path) {
    const std::string message = LoadResourceString(messageId);
    m_messageBoxes.MessageBox(error != 0 ? WithFailureReason(message, error, path)
                                         : message + " " + path,
                              LoadResourceString(IDS_CAPTION_CONFIRM), MB_OK);
    return false;
}

bool CompanionBuffer::SaveCompanion(const std::string& path, FileSetTransaction* set) {
    AtomicFileWriter file(set);
    if (!file.Open(path))
        return Report(m_nNotWritableId, file.Error(), path);
    // Only a load that worked leaves the file open: nothing else may be written.
    if (!HasSource())
        return Report(m_nWriteErrorId, 0, path);
    const bool copied = SourceUnchanged() &&
                        (m_bHeld ? file.Write(m_heldBytes) : file.Copy(m_source.Native(), m_nSize));
    // Checked again after the copy: a change during it is one too.
    if (!SourceUnchanged()) {
        m_messageBoxes.MessageBox(WithReasonText(LoadResourceString(m_nWriteErrorId),
                                                 LoadResourceString(IDS_FILE_CHANGED_SINCE_OPEN),
                                                 m_settings.m_fileSet[m_kind].m_strFilePath),
                                  LoadResourceString(IDS_CAPTION_CONFIRM), MB_OK);
        return false;
    }
    if (!copied || !file.Commit())
        return Report(m_nWriteErrorId, file.Error(), path);
    return true;
}

} // namespace kelvane
