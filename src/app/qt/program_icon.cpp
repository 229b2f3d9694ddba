// SPDX-License-Identifier: MIT
#include "app/qt/program_icon.h"

#include "app/qt/icon_pictures.h"
#include "res/command_ids.h"

#include <QImage>
#include <QPixmap>

#include <cstring>

namespace kelvane {
namespace {

struct ToolbarPicture {
    uint32_t commandId;
    const char* name;
};

constexpr ToolbarPicture kToolbarPictures[] = {
    {ID_PROJECT_OPEN, "open"},
    {ID_PROJECT_SAVE, "save"},
    {ID_FILE_MODEL_SETTING, "file_model_setting"},
    {ID_COMM_SETTING, "comm_setting"},
    {ID_HELP, "help"},
};

} // namespace

QIcon PictureIcon(const char* name) {
    QIcon icon;
    for (size_t index = 0; index < kIconPictureCount; ++index) {
        const IconPicture& picture = kIconPictures[index];
        if (std::strcmp(picture.name, name) != 0)
            continue;
        // The image only looks at the compiled-in pixels; the pixmap copies them.
        const QImage image(reinterpret_cast<const uchar*>(picture.pixels), picture.size,
                           picture.size, picture.size * 4, QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QIcon ProgramIcon() {
    return PictureIcon("kelvane");
}

QIcon ToolbarIcon(uint32_t commandId) {
    for (const ToolbarPicture& picture : kToolbarPictures)
        if (picture.commandId == commandId)
            return PictureIcon(picture.name);
    return {};
}

} // namespace kelvane
