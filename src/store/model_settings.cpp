// SPDX-License-Identifier: MIT
// The model key group of the project file.
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/definition_file.h"
#include "store/fixed_text.h"
#include "store/number_text.h"

#include <cstdio>
#include <initializer_list>

namespace kelvane {
namespace {

constexpr int32_t kHighestPage = 15;

std::string RowKey(int row) {
    char key[16];
    std::snprintf(key, sizeof key, "MPCNT_%X", static_cast<unsigned>(row));
    return key;
}

// Sixteen numbers, each followed by a comma. A row with fewer commas gives 0
// for the numbers it lacks.
void ParseRow(std::string_view text, int32_t (&row)[16]) {
    size_t position = 0;
    for (int32_t& number : row) {
        number = position < text.size() ? IntegerRead(text.substr(position)) : 0;
        const size_t comma = text.find(',', position);
        position = comma == std::string_view::npos ? text.size() : comma + 1;
    }
}

std::string PrintRow(const int32_t (&row)[16]) {
    std::string text;
    for (int32_t number : row)
        text.append(PrintSigned(number)).push_back(',');
    return text;
}

} // namespace

template <size_t N>
bool DefinitionFile::CopyValueIntoField(char (&field)[N], std::string_view key,
                                        std::string_view value) {
    // A cut value would be written back cut, so refuse it whole.
    if (!CopyToField(field, value)) {
        m_settings.m_strLastError =
            FormatResourceString(IDS_VALUE_TOO_LONG_FOR_FIELD, {key, std::to_string(N - 1)});
        return false;
    }
    return true;
}

bool DefinitionFile::ReadModelSettings() {
    std::string value;
    if (!GetValue(value, "MPDFILE") ||
        !CopyValueIntoField(m_settings.m_szMpdFile, "MPDFILE", value))
        return false;

    m_settings.m_strSelectedModelName.clear();
    if (GetValue(value, "MODEL_NAME") && !value.empty())
        m_settings.m_strModelName = value;
    else
        m_settings.m_strModelName.clear();
    m_settings.m_strSelectedModelName = m_settings.m_strModelName;

    if (!GetValue(value, "MAXPAGE"))
        return false;
    const int32_t maxPage = IntegerRead(value);
    if (maxPage < 0 || maxPage > kHighestPage) {
        m_settings.m_strLastError = LoadResourceString(IDS_MAXPAGE_NOT_VALID);
        return false;
    }
    m_settings.m_nMaxPage = maxPage;

    for (int32_t row = 0; row <= maxPage; ++row) {
        if (!GetValue(value, RowKey(row)))
            return false;
        ParseRow(value, m_settings.m_anMpCount[row]);
    }

    // Older project files keep the MCI file name under the key "ao_smp.mci".
    for (const char* key : {"DEFFILE", "ao_smp.mci"})
        if (GetValue(value, key))
            return CopyValueIntoField(m_settings.m_szDefFile, key, value);
    m_settings.m_szDefFile[0] = '\0';
    return true;
}

bool DefinitionFile::WriteModelSettings() {
    const std::string modelName = m_settings.m_strSelectedModelName.empty()
                                      ? m_settings.m_strModelName
                                      : m_settings.m_strSelectedModelName;
    m_settings.m_strModelName = modelName;
    SetValue(modelName, "MODEL_NAME"); // optional key

    if (!SetValue(FieldText(m_settings.m_szMpdFile), "MPDFILE"))
        return false;
    const int32_t maxPage = m_settings.m_nMaxPage;
    for (int32_t row = 0; row <= maxPage && row <= kHighestPage; ++row)
        if (!SetValue(PrintRow(m_settings.m_anMpCount[row]), RowKey(row)))
            return false;
    if (!SetValue(PrintSigned(maxPage), "MAXPAGE"))
        return false;

    const std::string_view defFile = FieldText(m_settings.m_szDefFile);
    return SetValue(defFile, "DEFFILE") || SetValue(defFile, "ao_smp.mci");
}

} // namespace kelvane
