// SPDX-License-Identifier: MIT
#include "view/summary_drawing.h"

#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <map>

namespace kelvane {
namespace {

constexpr int kCompanionFirstRow = 120;
constexpr int kCompanionRowStep = 20;
constexpr int kFileTextColumn = 112;
constexpr int kTagColumn = 0;

std::string ModelFamilyName(uint32_t model) {
    const char* name = IceModelName(model);
    return name != nullptr ? name : LoadResourceString(IDS_VIEW_NOT_SUPPORTED);
}

std::string ShownModelName(const ProjectSettings& settings) {
    if (!settings.m_strSelectedModelName.empty())
        return settings.m_strSelectedModelName;
    if (!settings.m_strModelName.empty())
        return settings.m_strModelName;
    return "Model name undefined";
}

std::string_view BareName(std::string_view path) {
    const size_t separator = FindLastSeparator(path);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

} // namespace

std::vector<SummaryText> SummaryDrawing(const ProjectSettings& settings) {
    std::vector<SummaryText> drawing;
    if (!settings.m_bProjectLoaded)
        return drawing;
    drawing.push_back(
        {64, 10, FormatResourceString(IDS_VIEW_OPENED_PROJECT, {settings.m_strProjectBaseName}),
         kTextBlack});
    drawing.push_back({112, 40,
                       LoadResourceString(IDS_VIEW_TARGET_SYSTEM) +
                           ModelFamilyName(settings.m_nIceModel) + "(" +
                           std::string(BareName(FieldText(settings.m_szMpdFile))) + ")",
                       kTextBlack});
    drawing.push_back(
        {144, 70, LoadResourceString(IDS_VIEW_MODEL_NAME) + ShownModelName(settings), kTextBlack});
    drawing.push_back({112, 100,
                       FormatResourceString(IDS_VIEW_FSP_FILE,
                                            {JoinPath(settings.m_strProjectDir,
                                                      settings.m_fileSet[FILE_FSP].m_strName)}),
                       kTextBlack});

    static const char* const kLabels[] = {"FSR", "UER", "SBU", "MCR"};
    int y = kCompanionFirstRow;
    for (unsigned kind = FILE_FSR; kind <= FILE_MCR; ++kind, y += kCompanionRowStep) {
        const ProjectFileEntry& entry = settings.m_fileSet[kind];
        std::string text = FormatResourceString(IDS_VIEW_COMPANION_FILE,
                                                {kLabels[kind - FILE_FSR], entry.m_strName});
        // "Is not exist" only when it is not there; else why it was not read.
        if (entry.m_bInSync && !entry.m_bLoaded)
            text += entry.m_strLoadFailure.empty() ? LoadResourceString(IDS_VIEW_FILE_NOT_EXIST)
                                                   : "(" + entry.m_strLoadFailure + ")";
        drawing.push_back({kFileTextColumn, y, text, kTextBlack});
        const bool synced = entry.m_bInSync && entry.m_bLoaded;
        drawing.push_back({kTagColumn, y,
                           LoadResourceString(synced ? IDS_VIEW_SYNC : IDS_VIEW_NOT_SYNC),
                           synced ? kSyncBlue : kNotSyncGreen});
    }
    return drawing;
}

std::vector<std::string> SummaryLines(const std::vector<SummaryText>& drawing) {
    std::map<int, std::vector<const SummaryText*>> rows;
    for (const SummaryText& text : drawing)
        rows[text.y].push_back(&text);
    std::vector<std::string> lines;
    for (auto& [y, texts] : rows) {
        std::stable_sort(texts.begin(), texts.end(),
                         [](const SummaryText* a, const SummaryText* b) { return a->x < b->x; });
        std::string line;
        for (const SummaryText* text : texts)
            line += text->text;
        lines.push_back(line);
    }
    return lines;
}

} // namespace kelvane
