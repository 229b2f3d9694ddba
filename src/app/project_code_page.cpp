// SPDX-License-Identifier: MIT
#include "app/project_code_page.h"

#include "platform/files/absolute_path.h"
#include "platform/files/file_reader.h"
#include "platform/text/code_page.h"
#include "platform/text/code_page_conversion.h"
#include "platform/text/code_page_detection.h"
#include "res/command_ids.h"

#include <array>

namespace kelvane {
namespace {

constexpr const char* kCodePageSection = "CodePages";
// The code page shows in the first lines of a project file, if anywhere.
constexpr size_t kDetectedBytes = 64 * 1024;

constexpr std::array kOffered = {
    OfferedCodePage{ID_CODE_PAGE_UTF8, "UTF-8"},    OfferedCodePage{ID_CODE_PAGE_CP932, "CP932"},
    OfferedCodePage{ID_CODE_PAGE_CP936, "CP936"},   OfferedCodePage{ID_CODE_PAGE_CP949, "CP949"},
    OfferedCodePage{ID_CODE_PAGE_CP950, "CP950"},   OfferedCodePage{ID_CODE_PAGE_CP1250, "CP1250"},
    OfferedCodePage{ID_CODE_PAGE_CP1251, "CP1251"}, OfferedCodePage{ID_CODE_PAGE_CP1252, "CP1252"},
};

// The profile entry of a project: its full name on the file system, either
// separator as '/', and every byte but letters, digits and ".-_" as %XX, so
// that no profile store takes a separator in it for a group.
std::string ProfileEntryOf(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string entry;
    for (const char c : NativePath(AbsolutePath(path))) {
        const auto byte = static_cast<unsigned char>(c == '\\' ? '/' : c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '.' || byte == '-' || byte == '_') {
            entry.push_back(c);
        } else {
            entry.push_back('%');
            entry.push_back(kHex[byte >> 4]);
            entry.push_back(kHex[byte & 0x0F]);
        }
    }
    return entry;
}

std::string FirstBytesOf(const std::string& path) {
    FileReader file;
    if (!file.Open(path))
        return "";
    std::string bytes(static_cast<size_t>(std::min<uint64_t>(file.Size(), kDetectedBytes)), '\0');
    bytes.resize(file.ReadAt(0, bytes.data(), bytes.size()));
    // A cut two-byte character at the end would fail every code page.
    if (bytes.size() == kDetectedBytes)
        bytes.resize(bytes.find_last_of("\r\n") + 1);
    return bytes;
}

} // namespace

std::string PathInCodePage(const std::string& path, const std::string& from,
                           const std::string& to) {
    if (SameCharset(from, to))
        return path;
    const std::string converted = ConvertCharset(path, from, to, Refused::Keep);
    return ConvertCharset(converted, to, from, Refused::Keep) == path ? converted : "";
}

std::string UseCodePageOfProject(const std::string& path, Profile& profile,
                                 CodePageOrigin* origin) {
    CodePageOrigin found = CodePageOrigin::Given;
    std::string codePage = GivenCodePage();
    if (codePage.empty()) {
        found = CodePageOrigin::Remembered;
        codePage = profile.GetProfileString(kCodePageSection, ProfileEntryOf(path), "");
    }
    if (codePage.empty() || !IsKnownCodePage(codePage)) {
        found = CodePageOrigin::Detected;
        codePage = DetectProjectCodePage(FirstBytesOf(path));
    }
    const std::string converted = PathInCodePage(path, ProjectCodePage(), codePage);
    if (converted.empty())
        return path;
    SetProjectCodePage(codePage);
    if (origin != nullptr)
        *origin = found;
    return converted;
}

void RememberProjectCodePage(Profile& profile, const std::string& path,
                             const std::string& codePage) {
    profile.WriteProfileString(kCodePageSection, ProfileEntryOf(path), codePage);
}

std::span<const OfferedCodePage> OfferedCodePages() {
    return kOffered;
}

const char* OfferedCodePageOf(uint32_t commandId) {
    for (const OfferedCodePage& offered : kOffered)
        if (offered.commandId == commandId)
            return offered.codePage;
    return nullptr;
}

} // namespace kelvane
