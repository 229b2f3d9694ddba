// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tvx_usb {

// The first `limit` bytes of the regular file at `path`, cut back to the end
// of its last whole line when the file is longer. Empty when there is no such
// file or it cannot be read: a folder, a device or a pipe is never read, so
// reading cannot block.
std::string ReadTextFile(const std::string& path, size_t limit);

// True for a text of blanks and tabs only, or none.
bool IsBlank(std::string_view text);

// `text` without a UTF-8 byte order mark at its start.
std::string_view WithoutBom(std::string_view text);

// Takes the first line off `text` into `line`, without its LF or CRLF end;
// false when `text` is empty.
bool NextLine(std::string_view& text, std::string_view& line);

} // namespace tvx_usb
