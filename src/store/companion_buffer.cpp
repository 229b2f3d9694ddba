#include "store/companion_buffer.h"

#include "platform/atomic_file.h"
#include "platform/file_name_case.h"
#include "platform/file_reader.h"
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
    m_data.reset(new char[m_nCapacity]);
}

CompanionBuffer::~CompanionBuffer() = default;

std::string_view CompanionBuffer::Data() const {
    return m_nSize <= m_nCapacity ? std::string_view(m_data.get(), m_nSize) : std::string_view();
}

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
    FileReader file;
    if (!file.Open(found.path)) {
        // Only a file that is not there is left to the view's own words.
        if (file.Error() != ENOENT)
            entry.m_strLoadFailure = WithFailureReason("", file.Error(), found.path);
        return false;
    }
    m_nSize = file.Size();
    if (m_nSize > m_nCapacity) {
        entry.m_strLoadFailure = WithReasonText(
            "", FormatResourceString(IDS_FILE_TOO_LARGE, {std::to_string(m_nCapacity)}),
            found.path);
        return false;
    }
    if (file.ReadAt(0, m_data.get(), m_nSize) != m_nSize) {
        // A read error, or a file cut short while it was read.
        entry.m_strLoadFailure =
            file.Error() != 0
                ? WithFailureReason("", file.Error(), found.path)
                : WithReasonText("", LoadResourceString(IDS_FILE_CHANGED_WHILE_READ), found.path);
        return false;
    }
    entry.m_bLoaded = 1;
    entry.m_strFilePath = found.path;
    return true;
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
    // A buffer whose last load failed holds nothing that may be written.
    if (m_nSize > m_nCapacity || !file.Write(Data()) || !file.Commit())
        return Report(m_nWriteErrorId, m_nSize > m_nCapacity ? 0 : file.Error(), path);
    return true;
}

} // namespace kelvane
