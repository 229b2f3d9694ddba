// SPDX-License-Identifier: MIT
#include "platform/content_hash.h"

#include "platform/file_reader.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace kelvane {
namespace {

// The bytes are hashed in pieces of this size, so that a file can be hashed
// through a buffer of it and give the value its bytes in memory give.
constexpr size_t kPiece = size_t(1) << 20;

uint64_t Start(uint64_t size) {
    return 0xcbf29ce484222325ULL ^ size;
}

uint64_t Mix(uint64_t hash, std::string_view piece) {
    return (hash ^ std::hash<std::string_view>{}(piece)) * 0x100000001b3ULL;
}

} // namespace

uint64_t ContentHash(std::string_view bytes) {
    uint64_t hash = Start(bytes.size());
    for (size_t at = 0; at < bytes.size(); at += kPiece)
        hash = Mix(hash, bytes.substr(at, kPiece));
    return hash;
}

bool HashFileContents(FileReader& file, uint64_t& hash) {
    const uint64_t size = file.Size();
    const size_t bufferSize = static_cast<size_t>(std::min<uint64_t>(size, kPiece));
    const std::unique_ptr<char[]> buffer(new char[bufferSize == 0 ? 1 : bufferSize]);
    hash = Start(size);
    for (uint64_t at = 0; at < size; at += kPiece) {
        const size_t length = static_cast<size_t>(std::min<uint64_t>(size - at, kPiece));
        if (file.ReadAt(at, buffer.get(), length) != length)
            return false;
        hash = Mix(hash, std::string_view(buffer.get(), length));
    }
    return true;
}

} // namespace kelvane
