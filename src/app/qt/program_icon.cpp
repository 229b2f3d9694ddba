// SPDX-License-Identifier: MIT
#include "app/qt/program_icon.h"

#include "res/command_ids.h"

#include <QPixmap>
#include <QtGlobal>

namespace kelvane {
namespace {

struct ToolbarPicture {
    uint32_t commandId;
    const char* resource;
};

constexpr ToolbarPicture kToolbarPictures[] = {
    {ID_PROJECT_OPEN, ":/icons/open.svg"},
    {ID_PROJECT_SAVE, ":/icons/save.svg"},
    {ID_FILE_MODEL_SETTING, ":/icons/file_model_setting.svg"},
    {ID_COMM_SETTING, ":/icons/comm_setting.svg"},
    {ID_HELP, ":/icons/help.svg"},
};

// The pictures are there whenever the program is; what can be missing is
// the plug-in that draws them, which a package names apart from Qt itself.
QIcon LoadIcon(const char* resource) {
    QIcon icon(QString::fromLatin1(resource));
    static bool warned = false;
    if (!warned && icon.pixmap(QSize(16, 16)).isNull()) {
        warned = true;
        qWarning("kelvane: Qt cannot draw the icon %s; its SVG plug-in (libqt6svg6 on "
                 "Debian) may be missing",
                 resource);
    }
    return icon;
}

} // namespace

QIcon ProgramIcon() {
    return LoadIcon(":/icons/kelvane.svg");
}

QIcon ToolbarIcon(uint32_t commandId) {
    for (const ToolbarPicture& picture : kToolbarPictures)
        if (picture.commandId == commandId)
            return LoadIcon(picture.resource);
    return {};
}

} // namespace kelvane
