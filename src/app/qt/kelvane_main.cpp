// SPDX-License-Identifier: MIT
// kelvane: the desktop program.
#include "app/klvn_main_app.h"
#include "app/qt/frame_repaint.h"
#include "app/qt/main_frame.h"
#include "app/qt/program_icon.h"
#include "app/qt/program_style.h"
#include "convert/module_probe_store.h"
#include "platform/files/absolute_path.h"
#include "platform/files/file_reader.h"
#include "platform/process/executable_path.h"
#include "platform/qt/first_paint_watch.h"
#include "platform/qt/qsettings_profile.h"
#include "platform/text/code_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "ui/qt/loaded_help_viewer.h"
#include "ui/qt/qt_context_help.h"
#include "ui/qt/qt_dialog_runner.h"
#include "ui/qt/qt_file_dialogs.h"
#include "ui/qt/qt_message_boxes.h"
#include "ui/qt/qt_wait_indicator.h"
#include "view/qt/summary_view.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

int main(int argc, char** argv) {
    // Only the first argument is used; one that cannot be read ends the
    // program after saying so. The system hands it over in the locale's
    // charset; the core holds texts in the project code page.
    const std::string nativeArgument = argc > 1 ? argv[1] : "";
    // The FSR file records the project's path: never a relative one.
    const std::string firstArgument =
        kelvane::AbsolutePath(kelvane::LocaleToProject(nativeArgument));

    kelvane::UseStoredModuleProbes(true);
    QApplication application(argc, argv);
    QApplication::setStyle(new kelvane::ProgramStyle);
    QTranslator qtTranslator;
    if (kelvane::CurrentResourceLanguage() == kelvane::ResourceLanguage::Japanese &&
        qtTranslator.load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&qtTranslator);

    kelvane::QSettingsProfile profile;
    kelvane::QtMessageBoxes messageBoxes;
    kelvane::QtFileDialogs fileDialogs;
    kelvane::FrameRepaint repaint;
    kelvane::QtDialogRunner dialogs(kelvane::ProgramIcon());
    kelvane::QtWaitIndicator wait;
    kelvane::CKLVN_MAINApp app({messageBoxes, fileDialogs, repaint, profile, dialogs},
                               kelvane::ProgramFilePath("ini"));
    app.SetWaitIndicator(wait);
    kelvane::LoadedHelpViewer helpViewer;
    kelvane::QtContextHelp help(helpViewer, messageBoxes);
    kelvane::CMainFrame frame(app);
    helpViewer.SetOwner(&frame);
    // Every help request, the dialogs' too, ends in the main window's entry.
    frame.SetHelpHandler([&help](uint32_t data, uint32_t command) { help.WinHelp(data, command); });
    app.SetHelpHandler([&frame](uint32_t data, uint32_t command) { frame.WinHelp(data, command); });
    messageBoxes.SetOwner(&frame);
    fileDialogs.SetOwner(&frame);
    dialogs.SetOwner(&frame);
    repaint.Attach(&frame);
    wait.SetOwner(&frame);
    frame.SetWaitIndicator(&wait);

    // Opened as every file is: a FIFO or a device given here cannot block.
    if (!nativeArgument.empty() && !kelvane::FileReader().Open(firstArgument)) {
        messageBoxes.MessageBox(
            kelvane::FormatResourceString(kelvane::IDS_CANNOT_OPEN_ARGUMENT, {firstArgument}), "",
            kelvane::MB_OK | kelvane::MB_ICONEXCLAMATION);
        return EXIT_FAILURE;
    }

    frame.show();
    if (!firstArgument.empty())
        app.OpenProjectPath(firstArgument);
    // After the open: a paint while it waited for a module would show no project.
    const bool exitAfterFirstPaint = std::getenv("KELVANE_EXIT_AFTER_FIRST_PAINT") != nullptr;
    kelvane::FirstPaintWatch firstPaint([exitAfterFirstPaint] {
        if (exitAfterFirstPaint)
            kelvane::ReportFirstPaintAndQuit();
    });
    frame.View()->installEventFilter(&firstPaint);
    return application.exec();
}
