// SPDX-License-Identifier: MIT
#include "ui/qt/qt_file_dialogs.h"

#include "platform/qt/qt_text.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTreeView>

namespace kelvane {
namespace {

// Qt's own dialog (a desktop's native one is left as it is): the detail
// columns (size, type, date) as wide as what a folder shows in them, once it
// is read, and the dialog wide enough for them within its screen.
void ShowColumnsWhole(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (view == nullptr || model == nullptr)
        return;
    if (const QScreen* screen = dialog.screen())
        dialog.resize(QSize(760, 460)
                          .boundedTo(screen->availableGeometry().size() * 9 / 10)
                          .expandedTo(dialog.sizeHint()));
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view] {
        for (int column = 1; column < view->model()->columnCount(); ++column)
            view->resizeColumnToContents(column);
    });
}

} // namespace

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
    ShowColumnsWhole(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    chosenPath = FromQString(dialog.selectedFiles().constFirst());
    return true;
}

} // namespace kelvane
