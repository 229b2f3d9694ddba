// SPDX-License-Identifier: MIT
#include "app/project_code_page.h"
#include "app/qt/frame_repaint.h"
#include "app/qt/main_frame.h"
#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "platform/qt/first_paint_watch.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "scoped_environment.h"
#include "store/fixed_text.h"
#include "test_files.h"
#include "ui/qt/loaded_help_viewer.h"
#include "ui/qt/qt_context_help.h"
#include "ui/qt/qt_dialog_runner.h"
#include "ui/qt/qt_wait_indicator.h"
#include "view/qt/summary_view.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

#include <filesystem>
#include <set>
#include <tuple>

using namespace kelvane;

namespace {

// A main window over an application with scripted services.
struct Desktop {
    Desktop() {
        repaint.Attach(&frame);
        app.SetWaitIndicator(wait);
        wait.SetOwner(&frame);
        frame.SetWaitIndicator(&wait);
    }

    // Copies the demo project into a folder of its own; its project file.
    std::string Demo() {
        for (const char* extension : {".fsp", ".fsr", ".uer", ".sbu", ".mcr"})
            test::WriteBytes(folder.File(std::string("demo") + extension),
                             test::ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo" + extension));
        return folder.File("demo.fsp");
    }

    // The commands of every menu item, accelerator and toolbar button enabled now.
    std::set<uint32_t> Enabled() const {
        std::set<uint32_t> enabled;
        for (const QAction* action : frame.actions())
            if (action->isEnabled())
                enabled.insert(action->data().toUInt());
        return enabled;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : messageBoxes.shown)
            texts.push_back(box.text);
        return texts;
    }
    bool Loaded() { return app.Settings().m_bProjectLoaded; }

    test::TempFolder folder;
    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::MemoryProfile profile;
    FrameRepaint repaint;
    QtDialogRunner dialogs;
    QtWaitIndicator wait;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile, dialogs},
                      std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini"};
    CMainFrame frame{app};
};

using ColourTest = bool (*)(QColor);

int CountPixels(const QImage& image, const QRect& area, ColourTest is) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += is(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

void Drop(QWidget& target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
    QDragEnterEvent enter({100, 100}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop({100, 100}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetResourceLanguage(ResourceLanguage::English); }

    void theWorkAfterTheFirstPaintRunsOnceThatPaintIsDone() {
        Desktop desktop;
        int runs = 0;
        FirstPaintWatch watch([&runs] { ++runs; });
        desktop.frame.View()->installEventFilter(&watch);
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop.frame));
        QTRY_COMPARE(runs, 1);
        desktop.frame.View()->repaint();
        QCoreApplication::processEvents();
        QCOMPARE(runs, 1);
    }

    void commandsViewAndDropsFollowTheProject() {
        const std::set<uint32_t> always = {ID_PROJECT_OPEN, ID_APP_EXIT, ID_HELP, ID_APP_ABOUT};
        // A talvexNOVA project: the sample module serves the two conversions from it.
        std::set<uint32_t> withProject = always;
        withProject.insert({ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, ID_COMM_SETTING,
                            ID_FILE_MODEL_SETTING, 2000, 2001});
        for (const OfferedCodePage& offered : OfferedCodePages())
            withProject.insert(offered.commandId);
        const ColourTest notWhite = [](QColor c) { return c != QColor(Qt::white); };
        const ColourTest dark = [](QColor c) { return c.lightness() < 80; };
        const ColourTest blue = [](QColor c) { return c.blue() > 200 && c.red() < 60; };
        const ColourTest green = [](QColor c) { return c.green() > 200 && c.red() < 60; };
        Desktop desktop;
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        const auto view = [&desktop] { return desktop.frame.View()->grab().toImage(); };
        const auto pressSaveAndConvert = [&desktop] {
            QTest::keyClick(&desktop.frame, Qt::Key_S, Qt::ControlModifier);
            // The second conversion item: talvexNOVA to talvexMAX.
            QTest::keyClick(&desktop.frame, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        };

        // No project: disabled accelerators do nothing, the view is blank.
        QCOMPARE(desktop.Enabled(), always);
        pressSaveAndConvert();
        QVERIFY(desktop.messageBoxes.shown.empty());
        QCOMPARE(CountPixels(view(), {0, 0, 500, 200}, notWhite), 0);

        // Two dropped files open nothing; one opens the project, here without its MCR file.
        const std::string project = desktop.Demo();
        std::filesystem::remove(desktop.folder.File("demo.mcr"));
        QVERIFY(desktop.frame.acceptDrops());
        Drop(desktop.frame, {project, project});
        QVERIFY(!desktop.Loaded() && desktop.messageBoxes.shown.empty());
        Drop(desktop.frame, {project});
        QVERIFY(desktop.Loaded());
        QCOMPARE(desktop.Enabled(), withProject);
        const QImage drawn = view();
        // Tags of FSR, UER, SBU (loaded) and MCR (missing); texts from x = 112.
        for (const int y : {120, 140, 160, 180}) {
            const QRect tag(0, y, 100, 18);
            QVERIFY(CountPixels(drawn, tag, y < 180 ? blue : green) > 10);
            QCOMPARE(CountPixels(drawn, tag, y < 180 ? green : blue), 0);
            QVERIFY(CountPixels(drawn, {112, y, 200, 18}, dark) > 10);
        }
        QCOMPARE(CountPixels(drawn, {0, 0, 60, 110}, notWhite), 0);
        desktop.messageBoxes.answers = {IDNO, IDNO};
        pressSaveAndConvert();
        QCOMPARE(desktop.Boxes(),
                 (std::vector<std::string>{
                     "Overwrite " + project + " OK?",
                     "Convert from talvexNOVA format project file to talvexMAX format."}));

        desktop.app.OpenProjectPath(desktop.folder.File("missing.fsp"));
        QCOMPARE(desktop.Enabled(), always);
        QCOMPARE(CountPixels(view(), {0, 0, 500, 200}, notWhite), 0);
    }

    void helpRunsFromTheKeyboardAndReportsWhatIsMissing() {
        const std::string helpFile = std::string(KELVANE_PROGRAM_DIR) + "/kelvane.qch";
        Desktop desktop;
        // The program's own viewer, loaded from its module.
        LoadedHelpViewer viewer;
        viewer.SetOwner(&desktop.frame);
        QtContextHelp help(viewer, desktop.messageBoxes, helpFile);
        QtContextHelp lost(viewer, desktop.messageBoxes, helpFile + ".missing");
        QtContextHelp* current = &help;
        desktop.frame.SetHelpHandler(
            [&current](uint32_t data, uint32_t command) { current->WinHelp(data, command); });
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        // Help needs no project: Ctrl+H opens the main window's topic.
        QTest::keyClick(&desktop.frame, Qt::Key_H, Qt::ControlModifier);
        const auto topicPage = [] {
            for (const QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible() &&
                    QByteArray(window->metaObject()->className()) == "kelvane::HelpTopicWindow")
                    if (const auto* page = window->findChild<QTextBrowser*>())
                        return page->source().path();
            return QString();
        };
        QVERIFY2(topicPage().endsWith("en/main_window.html"), qPrintable(topicPage()));

        desktop.frame.WinHelp(0x20999, HELP_CONTEXT);
        current = &lost;
        desktop.frame.Action(ID_HELP)->trigger();
        QCOMPARE(desktop.Boxes(),
                 (std::vector<std::string>{
                     "Can not find the specified topic.\n\nFile path [ " + helpFile +
                         " ]\n Context-ID [0x20000 + 0x0999(2457)]",
                     "Help file not found.\n\nFile path [ " + helpFile + ".missing ]"}));
    }

    void aHelpViewerThatCannotBeLoadedShowsNothing() {
        LoadedHelpViewer viewer("kelvane-help-missing.so");
        QVERIFY(!viewer.Load(std::string(KELVANE_PROGRAM_DIR) + "/kelvane.qch"));
        QVERIFY(!viewer.ShowTopic(0x20080));
        QVERIFY(!viewer.ShowContents());
    }

    void menusComeFromTheTablesOfTheProgramsLanguage() {
        SetResourceLanguage(ResourceLanguage::Japanese);
        Desktop desktop;
        SetResourceLanguage(ResourceLanguage::English);
        const QList<QAction*> menus = desktop.frame.menuBar()->actions();
        QCOMPARE(menus.size(), 4);
        QCOMPARE(menus[0]->text(), QString::fromUtf8("ファイル(&F)"));
        QCOMPARE(menus[2]->text(), QString::fromUtf8("表示(&V)"));
        QCOMPARE(desktop.frame.Action(2000)->text(),
                 QString::fromUtf8("NOVA→BANTAM(&0)\tShift+Ctrl+0"));
        // Shortcuts are read from the accelerator table, modifiers included.
        QCOMPARE(desktop.frame.Action(ID_PROJECT_SAVE_AS)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QCOMPARE(desktop.frame.Action(32785)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_9));
    }

    void projectTextsAreDrawnFromTheProjectCodePage() {
        // A project from Japanese Windows, in a folder with a Japanese name:
        // its model name in CP932, found in its bytes.
        const test::ScopedEnvironment codePage("KELVANE_CODEPAGE", nullptr);
        Desktop desktop;
        std::string project = test::ReadBytes(desktop.Demo());
        const std::string folder = desktop.folder.File("テスト");
        std::filesystem::create_directory(folder);
        for (const char* extension : {".fsr", ".uer", ".sbu", ".mcr"})
            std::filesystem::rename(desktop.folder.File("demo") + extension,
                                    folder + "/demo" + extension);
        const std::string model = "MODEL_NAME=SH7058F";
        const size_t at = project.find(model);
        QVERIFY(at != std::string::npos);
        project.replace(at, model.size(), "MODEL_NAME=\x83\x65\x83\x58\x83\x67");
        test::WriteBytes(folder + "/demo.fsp", project);
        Drop(desktop.frame, {folder + "/demo.fsp"});
        QVERIFY(desktop.Loaded());
        const QStringList texts = desktop.frame.View()->DisplayTexts();
        QVERIFY2(texts.contains(QString::fromUtf8("Model name: テスト")),
                 qPrintable(texts.join('|')));
        QVERIFY2(texts.contains(" FSP file: " + QString::fromStdString(folder) + "/demo.fsp"),
                 qPrintable(texts.join('|')));
        const auto shownCodePage = [&desktop] {
            const auto* label = desktop.frame.findChild<QLabel*>("codePage");
            return label != nullptr && desktop.frame.statusBar()->isVisibleTo(&desktop.frame)
                       ? label->text()
                       : QString();
        };
        QCOMPARE(shownCodePage(), QString("Code page: CP932"));
        QVERIFY(desktop.frame.Action(ID_CODE_PAGE_CP932)->isChecked());

        // Read as UTF-8 from the View menu: drawn anew, the folder still found.
        desktop.frame.Action(ID_CODE_PAGE_UTF8)->trigger();
        QVERIFY(desktop.Loaded());
        QCOMPARE(shownCodePage(), QString("Code page: UTF-8"));
        QVERIFY(desktop.frame.Action(ID_CODE_PAGE_UTF8)->isChecked());
        QVERIFY(!desktop.frame.Action(ID_CODE_PAGE_CP932)->isChecked());
        QVERIFY(!desktop.frame.View()->DisplayTexts().contains(
            QString::fromUtf8("Model name: テスト")));
        QVERIFY(desktop.frame.View()->DisplayTexts().contains(
            " FSP file: " + QString::fromStdString(folder) + "/demo.fsp"));
    }

    // A module that hangs: the window goes on drawing, refuses to close and
    // takes no other command meanwhile; one that crashes: the window lives on
    // with the project as it was, and says which module it was.
    void aConversionModuleThatHangsOrCrashesLeavesTheWindowAlive() {
        const test::ScopedEnvironment timeout("KELVANE_MODULE_TIMEOUT", "1.5");
        Desktop desktop;
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        ProjectSettings& settings = desktop.app.Settings();
        settings.m_bProjectLoaded = true;
        settings.m_nIceModel = ICE_TALVEX_NOVA;
        for (uint32_t& supported : settings.m_abConvertSupported)
            supported = 1;
        CopyToField(settings.m_szMpdFile, "KV4021");

        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter;
        desktop.frame.View()->installEventFilter(&counter);
        QTimer redraw;
        QObject::connect(&redraw, &QTimer::timeout, desktop.frame.View(),
                         [&desktop] { desktop.frame.View()->update(); });
        redraw.start(100);
        bool closeRefused = false, cursorWaited = false;
        QTimer::singleShot(400, [&] {
            cursorWaited = QApplication::overrideCursor() != nullptr &&
                           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            closeRefused = !desktop.frame.close();
            desktop.frame.Dispatch(ID_APP_ABOUT); // refused: no dialog opens
        });

        CopyToField(settings.m_szConvertModule, "kelvane_test_hang.so");
        desktop.messageBoxes.answers = {IDYES};
        desktop.frame.Dispatch(2001);
        QVERIFY(counter.paints >= 5);
        QVERIFY(closeRefused && cursorWaited);
        QVERIFY(desktop.frame.isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(desktop.messageBoxes.shown.size(), size_t{2});
        QVERIFY(desktop.messageBoxes.shown.back().text.find("gave no answer within 1.5 seconds") !=
                std::string::npos);

        CopyToField(settings.m_szConvertModule, "kelvane_test_crash.so");
        desktop.messageBoxes.answers = {IDYES};
        desktop.frame.Dispatch(2001);
        QCOMPARE(desktop.messageBoxes.shown.size(), size_t{4});
        QCOMPARE(desktop.messageBoxes.shown.back().text,
                 "The conversion module " + std::string(KELVANE_PROGRAM_DIR) +
                     "/kelvane_test_crash.so crashed (SIGSEGV, Segmentation fault).\nThe "
                     "project was not changed.");
        QCOMPARE(settings.m_nIceModel, uint32_t{ICE_TALVEX_NOVA});
        QCOMPARE(FieldText(settings.m_szMpdFile), std::string_view("KV4021"));
        QVERIFY(desktop.frame.isVisible());
        QVERIFY(desktop.frame.close()); // and closes once nothing runs
    }

    // A converted project is marked in the title; closing the window or a
    // drop asks first, and Cancel keeps the window and the project.
    void aModifiedProjectIsMarkedAndNotGivenUpWithoutAWord() {
        Desktop desktop;
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        const std::string project = desktop.Demo();
        Drop(desktop.frame, {project});
        QVERIFY(desktop.Loaded() && !desktop.frame.isWindowModified());
        QCOMPARE(desktop.frame.windowTitle(), QString("Kelvane[*]"));
        desktop.messageBoxes.answers = {IDYES, IDOK};
        desktop.frame.Dispatch(2001); // talvexNOVA to talvexMAX
        QVERIFY(desktop.app.IsModified() && desktop.frame.isWindowModified());

        const std::string question = "Save changes to " + project + "?";
        desktop.messageBoxes.shown.clear();
        desktop.messageBoxes.answers = {IDCANCEL, IDCANCEL};
        QVERIFY(!desktop.frame.close());
        Drop(desktop.frame, {desktop.folder.File("other.fsp")});
        QCOMPARE(desktop.Boxes(), (std::vector<std::string>{question, question}));
        QVERIFY(desktop.frame.isVisible() && desktop.frame.isWindowModified());
        QCOMPARE(desktop.app.Settings().m_nIceModel, uint32_t{ICE_TALVEX_MAX});

        desktop.messageBoxes.answers = {IDNO};
        QVERIFY(desktop.frame.close());
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
