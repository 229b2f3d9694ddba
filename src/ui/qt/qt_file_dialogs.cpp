#include "ui/qt/qt_file_dialogs.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace kelvane {

bool QtFileDialogs::ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    QFileDialog dialog(m_owner, QString::fromStdString(request.title),
                       QString::fromStdString(request.startFolder));
    // The filter text already names its pattern, as "Project file(*.fsp)";
    // Qt reads the pattern from the parentheses.
    dialog.setNameFilter(QString::fromStdString(request.filterText));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || (request.flags & OFN_FILEMUSTEXIST) == 0
                           ? QFileDialog::AnyFile
                           : QFileDialog::ExistingFile);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    if (!request.proposedName.empty())
        dialog.selectFile(QString::fromStdString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosenPath = dialog.selectedFiles().constFirst().toStdString();
    return true;
}

} // namespace kelvane
