// SPDX-License-Identifier: MIT
#include "platform/text/code_page_detection.h"

#include "platform/text/code_page.h"
#include "platform/text/code_page_conversion.h"

#include <algorithm>
#include <utility>

namespace kelvane {
namespace {

constexpr const char* kJapanese = "CP932";

// Lead bytes of CP932's kana and first-level kanji. In the Windows code
// pages of Latin and Cyrillic text they are punctuation seldom typed, while
// Japanese text is full of them.
bool HasKanaLeadBytes(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x81 && byte <= 0x9F;
    });
}

} // namespace

std::string WindowsCodePageOf(std::string_view charset) {
    static constexpr std::pair<std::string_view, std::string_view> kFamilies[] = {
        {"SHIFTJIS", "CP932"},     {"SJIS", "CP932"},         {"CP932", "CP932"},
        {"WINDOWS31J", "CP932"},   {"GB18030", "CP936"},      {"GB2312", "CP936"},
        {"GBK", "CP936"},          {"BIG5", "CP950"},         {"EUCKR", "CP949"},
        {"UHC", "CP949"},          {"WINDOWS1250", "CP1250"}, {"ISO88592", "CP1250"},
        {"WINDOWS1251", "CP1251"}, {"ISO88595", "CP1251"},    {"KOI8R", "CP1251"},
        {"KOI8U", "CP1251"},       {"IBM866", "CP1251"},      {"IBM855", "CP1251"},
        {"MACCYRILLIC", "CP1251"}, {"WINDOWS1252", "CP1252"}, {"ISO88591", "CP1252"},
        {"ISO885915", "CP1252"},   {"WINDOWS1253", "CP1253"}, {"ISO88597", "CP1253"},
        {"WINDOWS1254", "CP1254"}, {"ISO88599", "CP1254"},    {"WINDOWS1255", "CP1255"},
        {"ISO88598", "CP1255"},    {"WINDOWS1256", "CP1256"}, {"ISO88596", "CP1256"},
        {"WINDOWS1257", "CP1257"}, {"ISO885913", "CP1257"},   {"TIS620", "CP874"},
    };
    const std::string canonical = CanonicalCharset(charset);
    for (const auto& [name, codePage] : kFamilies)
        if (canonical == name)
            return std::string(codePage);
    return std::string(charset);
}

std::string DetectProjectCodePage(std::string_view projectFileBytes) {
    if (IsValidUtf8(projectFileBytes))
        return LocaleCharset();
    const std::string local = LocaleWindowsCodePage();
    const bool japanese = DecodesEveryByte(projectFileBytes, kJapanese);
    if (SameCharset(local, kJapanese) || !DecodesEveryByte(projectFileBytes, local))
        return japanese ? kJapanese : LocaleCharset();
    if (!japanese)
        return local;
    // Both take every byte, as Latin or Cyrillic text often is in CP932.
    // Japanese text has kana lead bytes, or the detector knows it; the
    // detector's word on short Japanese text may be Latin, so it decides
    // only for Japanese.
    if (!HasKanaLeadBytes(projectFileBytes) &&
        !SameCharset(WindowsCodePageOf(DetectedCharset(projectFileBytes)), kJapanese))
        return local;
    return kJapanese;
}

} // namespace kelvane
