// SPDX-License-Identifier: MIT
#include "app/qt/main_frame.h"

#include "app/about_dlg.h"
#include "app/qt/program_icon.h"
#include "convert/conversion_commands.h"
#include "platform/qt/qt_text.h"
#include "res/command_ids.h"
#include "res/menu_resources.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "ui/qt/qt_help_desktop.h"
#include "ui/qt/qt_wait_indicator.h"
#include "view/qt/summary_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <vector>

namespace kelvane {
namespace {

// The main window's context id: the help context base plus its resource id.
constexpr uint32_t kMainWindowHelpContext = 0x20000 + IDR_MAINFRAME;
constexpr uint32_t kHelpContextCommand = 1;

QKeySequence KeyOf(char key, unsigned flags) {
    int combination = 0;
    if (flags & FCONTROL)
        combination |= Qt::CTRL;
    if (flags & FSHIFT)
        combination |= Qt::SHIFT;
    const int qtKey = key >= '0' && key <= '9' ? Qt::Key_0 + (key - '0') : Qt::Key_A + (key - 'A');
    return QKeySequence(combination | qtKey);
}

} // namespace

CMainFrame::CMainFrame(CKLVN_MAINApp& app, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_app(app) {
    // "[*]" shows a modified project the Qt way; the title text stays.
    setWindowTitle(QString::fromStdString(MainWindowTitle()) + "[*]");
    setWindowIcon(ProgramIcon());
    setProperty(kControlIdProperty, IDR_MAINFRAME);
    resize(600, 300);
    setAcceptDrops(true);

    m_view = new CKLVN_MAINView(m_app.Settings(), this);
    setCentralWidget(m_view);
    BuildMenu();
    BuildAccelerators();
    BuildToolBar();
    UpdateCommandStates();
}

QAction* CMainFrame::Action(uint32_t commandId) const {
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() ? nullptr : found->second;
}

QAction* CMainFrame::MakeAction(uint32_t commandId, const QString& text) {
    QAction*& action = m_actions[commandId];
    if (action == nullptr) {
        action = new QAction(text, this);
        action->setData(commandId);
        connect(action, &QAction::triggered, this, [this, commandId] { Dispatch(commandId); });
        addAction(action); // shortcuts work while the menu is closed
    } else if (!text.isEmpty()) {
        action->setText(text);
    }
    return action;
}

void CMainFrame::BuildMenu() {
    std::vector<QMenu*> open;
    for (const MenuEntry& entry : MainMenu()) {
        switch (entry.kind) {
        case MenuEntry::PopupBegin: {
            QMenu* menu = open.empty() ? menuBar()->addMenu(QString::fromUtf8(entry.text))
                                       : open.back()->addMenu(QString::fromUtf8(entry.text));
            // Enabling is asked again each time a menu opens.
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
            open.push_back(menu);
            break;
        }
        case MenuEntry::PopupEnd:
            open.pop_back();
            break;
        case MenuEntry::Separator:
            open.back()->addSeparator();
            break;
        case MenuEntry::Item:
            open.back()->addAction(MakeAction(entry.commandId, QString::fromUtf8(entry.text)));
            break;
        case MenuEntry::CheckItem: {
            QAction* action = MakeAction(entry.commandId, QString::fromUtf8(entry.text));
            action->setCheckable(true);
            open.back()->addAction(action);
            break;
        }
        case MenuEntry::ConversionItems:
            for (const ConversionCommand& command : ConversionCommands())
                open.back()->addAction(MakeAction(
                    command.commandId, QString::fromStdString(ConversionMenuText(command))));
            break;
        }
    }
}

void CMainFrame::BuildAccelerators() {
    for (const AcceleratorEntry& entry : MainAccelerators())
        MakeAction(entry.commandId, {})->setShortcut(KeyOf(entry.key, entry.flags));
    for (const ConversionCommand& command : ConversionCommands())
        MakeAction(command.commandId, {})
            ->setShortcut(KeyOf(command.acceleratorKey, kConversionAcceleratorFlags));
}

void CMainFrame::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName("toolbar");
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const ToolbarEntry& entry : MainToolbar()) {
        if (entry.commandId == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = MakeAction(entry.commandId, {});
        action->setIcon(ToolbarIcon(entry.commandId));
        action->setToolTip(QString::fromStdString(CommandTooltip(entry.commandId)));
        m_toolBar->addAction(action);
    }
}

void CMainFrame::UpdateCommandStates() {
    for (const auto& [commandId, action] : m_actions) {
        action->setEnabled(m_app.IsCommandEnabled(commandId));
        if (action->isCheckable())
            action->setChecked(m_app.IsCommandChecked(commandId));
    }
    setWindowModified(m_app.IsModified());
    UpdateStatusBar();
}

void CMainFrame::UpdateStatusBar() {
    // The code page shows while a project is open, so that text shown wrong
    // tells where to change it.
    const bool open = m_app.Settings().m_bProjectLoaded;
    if (m_codePage == nullptr) {
        if (!open)
            return;
        m_codePage = new QLabel(statusBar());
        m_codePage->setObjectName("codePage");
        statusBar()->addPermanentWidget(m_codePage);
    }
    m_codePage->setText(open ? ToQString(m_app.CodePageLine()) : QString());
    if (open)
        statusBar()->show();
    else if (!Waiting())
        statusBar()->hide();
}

void CMainFrame::Repaint() {
    m_view->update();
    UpdateCommandStates();
}

bool CMainFrame::Waiting() const {
    return m_wait != nullptr && m_wait->Waiting();
}

void CMainFrame::Dispatch(uint32_t commandId) {
    if (Waiting() || !m_app.IsCommandEnabled(commandId))
        return;
    switch (commandId) {
    case ID_APP_EXIT:
        close();
        return;
    case ID_HELP:
        WinHelp(kMainWindowHelpContext, kHelpContextCommand);
        return;
    case ID_APP_ABOUT: {
        CAboutDlg about(m_app.Services().dialogs);
        about.DoModal();
        return;
    }
    default:
        break;
    }
    m_app.OnCommand(commandId);
    UpdateCommandStates();
}

void CMainFrame::WinHelp(uint32_t data, uint32_t command) {
    if (m_help)
        m_help(data, command);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A command still running must finish first; a modified project is
    // saved or given up only when the user says so.
    if (Waiting() || !m_app.SaveModified()) {
        event->ignore();
        UpdateCommandStates();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
    OnDropFiles(paths);
    event->acceptProposedAction();
}

void CMainFrame::OnDropFiles(const QStringList& paths) {
    // Two or more files open nothing and say nothing.
    if (paths.size() != 1 || Waiting())
        return;
    m_app.OpenProjectPath(FromQString(paths.constFirst()));
    UpdateCommandStates();
}

} // namespace kelvane
