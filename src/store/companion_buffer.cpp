#include "store/companion_buffer.h"

#include "platform/atomic_file.h"
#include "platform/file_reader.h"
#include "res/string_ids.h"
#include "res/string_table.h"

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
    FileReader file;
    if (!file.Open(path))
        return false;
    m_nSize = file.Size();
    if (m_nSize > m_nCapacity)
        return false;
    if (file.ReadAt(0, m_data.get(), m_nSize) != m_nSize)
        return false;
    entry.m_bLoaded = 1;
    return true;
}

bool CompanionBuffer::Report(unsigned messageId) {
    m_messageBoxes.MessageBox(LoadResourceString(messageId),
                              LoadResourceString(IDS_CAPTION_CONFIRM), MB_OK);
    return false;
}

bool CompanionBuffer::SaveCompanion(const std::string& path, FileSetTransaction* set) {
    AtomicFileWriter file(set);
    if (!file.Open(path))
        return Report(m_nNotWritableId);
    // A buffer whose last load failed holds nothing that may be written.
    if (m_nSize > m_nCapacity || !file.Write(Data()) || !file.Commit())
        return Report(m_nWriteErrorId);
    return true;
}

} // namespace kelvane
