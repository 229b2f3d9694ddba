// SPDX-License-Identifier: MIT
#include "store/definition_file_read_ahead.h"

#include <utility>

namespace kelvane {

DefinitionFileReadAhead::DefinitionFileReadAhead(std::string path)
    : m_path(std::move(path)), m_settings(std::make_unique<ProjectSettings>()),
      m_definitions(std::make_unique<DefinitionFile>(*m_settings)),
      m_thread(&DefinitionFileReadAhead::Read, this) {}

DefinitionFileReadAhead::~DefinitionFileReadAhead() {
    Wait();
}

void DefinitionFileReadAhead::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}

void DefinitionFileReadAhead::Read() {
    // A file written while it was read does not count.
    m_read =
        m_file.Open(m_path) && m_definitions->ReadOpenedFile(m_file, m_path) && m_file.Unchanged();
}

std::optional<DefinitionFile::Table> DefinitionFileReadAhead::Take(const std::string& path,
                                                                   const FileReader& opened) {
    Wait();
    if (!m_read || path != m_path || !opened.SameFileAs(m_file))
        return std::nullopt;
    m_read = false;
    return m_definitions->TakeTable();
}

} // namespace kelvane
