// SPDX-License-Identifier: MIT
#include "platform/files/file_reader.h"

#include <algorithm>
#include <memory>

namespace kelvane {

FileReader::~FileReader() {
    Close();
}

bool FileReader::SameFileAs(const FileReader& other) const {
    return IsOpen() && other.IsOpen() && m_opened == other.m_opened;
}

bool FileReader::Unchanged() {
    FileIdentity now;
    return IsOpen() && IdentityOfFile(m_file, now) && now.stamp == m_opened.stamp;
}

bool FileReader::ReadInPieces(const std::function<bool(std::string_view)>& take) {
    constexpr size_t kPiece = size_t(1) << 20;
    const std::unique_ptr<char[]> buffer(
        new char[static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(m_size, 1), kPiece))]);
    for (uint64_t at = 0; at < m_size; at += kPiece) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(m_size - at, kPiece));
        if (ReadAt(at, buffer.get(), length) != length ||
            !take(std::string_view(buffer.get(), length)))
            return false;
    }
    return true;
}

} // namespace kelvane
