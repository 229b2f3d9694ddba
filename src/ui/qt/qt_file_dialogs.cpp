// SPDX-License-Identifier: MIT
#include "ui/qt/qt_file_dialogs.h"

#include "platform/qt/qt_text.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace kelvane {

bool QtFileDialogs::ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    QFileDialog dialog(m_owner, ToQString(request.title), ToQString(request.startFolder));
    // The filter text already names its pattern, as "Project file(*.fsp)";
    // Qt reads the pattern from the parentheses.
    dialog.setNameFilter(ToQString(request.filterText));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || (request.flags & OFN_FILEMUSTEXIST) == 0
                           ? QFileDialog::AnyFile
                           : QFileDialog::ExistingFile);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    if (!request.proposedName.empty())
        dialog.selectFile(ToQString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosenPath = FromQString(dialog.selectedFiles().constFirst());
    return true;
}

} // namespace kelvane
