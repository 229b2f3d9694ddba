// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Projects written on Windows often name their files in another letter case
// than the files have on disk. These look such names up the way Wine does:
// the exact name first, else the one entry of the folder whose name differs
// only in the case of ASCII letters. Paths are in the project code page.

// True when `a` and `b` differ at most in the case of ASCII letters. Other
// bytes must be equal, and a two-byte character of the project code page is
// compared whole, so that a second byte in the ASCII range is never folded.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

enum class NameMatch {
    Exact,     // the exact name is there, or its folder cannot be searched
    OtherCase, // one entry of the folder has the name in another case
    Several,   // two or more have it; none is taken
    None,      // nothing of that name in any case
};

struct FoundFile {
    NameMatch match = NameMatch::None;
    std::string path; // the entry found for OtherCase, else the path as given
};

// The file `path` names, looking in its folder for the name in another
// letter case when the exact name is not there. Only the last component is
// looked up; a folder that cannot be listed holds nothing.
FoundFile FindFileIgnoringCase(const std::string& path);

// ENOENT when no file has the path's exact name, else 0 or why not. (On
// Windows a name in another case is the same name.)
int ExactNameError(const std::string& path);

// Where a save that was asked to write `target` writes a file read from
// `readPath`: `readPath` when it is `target` in another letter case and
// nothing has `target`'s exact name, so that the file found is rewritten
// rather than a second one made beside it; else `target`.
std::string SaveTargetKeepingCase(const std::string& target, const std::string& readPath);

} // namespace kelvane
