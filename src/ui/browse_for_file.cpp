// SPDX-License-Identifier: MIT
#include "ui/browse_for_file.h"

#include "platform/places/default_folder.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/path_helpers.h"

namespace kelvane {
namespace {

struct KindRow {
    bool save;
    unsigned flags;
    unsigned filterId;
    const char* pattern;
    unsigned titleId;
    const char* defaultExtension;
    const char* stripExtension; // for the proposed name of kinds 2 to 4
    const char* proposedExtension;
};

constexpr unsigned kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
constexpr unsigned kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT;
static_assert(kOpenFlags == 0x1804 && kSaveFlags == 0x2006);

constexpr KindRow kKinds[] = {
    {false, kOpenFlags, IDS_FILTER_PROJECT, "*.fsp", IDS_TITLE_OPEN_PROJECT, "", "", ""},
    {true, kSaveFlags, IDS_FILTER_PROJECT, "*.fsp", IDS_TITLE_SAVE_PROJECT_AS, "fsp", "", ""},
    {false, kOpenFlags, IDS_FILTER_MPV, "*.mpv", IDS_TITLE_MPV, "", "mpv", ".mpv"},
    {false, kOpenFlags, IDS_FILTER_MCI, "*.mci", IDS_TITLE_MCI, "", "mci", ".mci"},
    {false, kOpenFlags, IDS_FILTER_FRD, "*.frd", IDS_TITLE_FRD, "", "mci", ".frd"},
};
constexpr int kKindCount = sizeof kKinds / sizeof kKinds[0];

} // namespace

FileDialogRequest MakeFileDialogRequest(std::string& path, int kind,
                                        const ProjectSettings& settings, Profile& profile) {
    const KindRow& row = kKinds[kind];
    const std::string defaultSaveName =
        JoinPath(settings.m_strProjectDir, settings.m_fileSet[FILE_FSP].m_strName);
    const std::string current = path;
    path.clear();

    FileDialogRequest request;
    request.save = row.save;
    request.flags = row.flags;
    request.title = LoadResourceString(row.titleId);
    request.filterText = LoadResourceString(row.filterId);
    request.pattern = row.pattern;
    request.defaultExtension = row.defaultExtension;
    request.startFolder = profile.GetProfileString("Settings", "DefaultDir", "");
    if (request.startFolder.empty())
        request.startFolder = DefaultDialogFolder();

    if (kind == FILE_DIALOG_PROJECT_SAVE_AS) {
        path = defaultSaveName;
    } else if (kind >= FILE_DIALOG_MPV) {
        // Propose the current file's name with this kind's extension, in
        // the current file's folder (an empty folder is the current one).
        SplitPathPart(request.startFolder, current, 0);
        SplitPathPart(path, current, 1);
        CheckExtension(path, row.stripExtension, 1);
        path += row.proposedExtension;
    }
    request.proposedName = path;
    return request;
}

int BrowseForFile(std::string& path, int kind, const ProjectSettings& settings, Profile& profile,
                  FileDialogService& dialogs) {
    if (kind < 0 || kind >= kKindCount)
        return 0;
    const FileDialogRequest request = MakeFileDialogRequest(path, kind, settings, profile);
    std::string chosen;
    if (!dialogs.ShowFileDialog(request, chosen)) {
        if (kind != FILE_DIALOG_PROJECT_SAVE_AS)
            path.clear();
        return 0;
    }
    path = chosen;
    return 1;
}

} // namespace kelvane
