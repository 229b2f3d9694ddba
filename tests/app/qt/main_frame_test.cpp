#include "app/qt/about_box.h"
#include "app/qt/main_frame.h"
#include "convert/conversion_commands.h"
#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "test_files.h"
#include "ui/qt/help_topic_window.h"
#include "ui/qt/qt_context_help.h"
#include "view/qt/summary_view.h"

#include <QAction>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace kelvane;

namespace {

const char* const kExtensions[] = {"fsp", "fsr", "uer", "sbu", "mcr"};

// The demo project in a folder of its own.
struct DemoCopy {
    DemoCopy() {
        for (const char* extension : kExtensions)
            test::WriteBytes(folder.File(std::string("demo.") + extension),
                             test::ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension));
    }
    std::string Project() const { return folder.File("demo.fsp"); }
    test::TempFolder folder;
};

// A main window over an application with scripted services.
struct Desktop {
    Desktop()
        : app({messageBoxes, fileDialogs, repaint, profile},
              std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini"),
          frame(app) {
        repaint.Attach(&frame);
    }

    bool Enabled(uint32_t commandId) const {
        QAction* action = frame.Action(commandId);
        return action != nullptr && action->isEnabled();
    }

    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::MemoryProfile profile;
    FrameRepaint repaint;
    CKLVN_MAINApp app;
    CMainFrame frame;
};

std::vector<uint32_t> EnabledConversions(const Desktop& desktop) {
    std::vector<uint32_t> enabled;
    for (const ConversionCommand& command : ConversionCommands())
        if (desktop.Enabled(command.commandId))
            enabled.push_back(command.commandId);
    return enabled;
}

int CountPixels(const QImage& image, const QRect& area, bool (*matches)(QColor)) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += matches(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool IsBlue(QColor c) {
    return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}
bool IsGreen(QColor c) {
    return c.green() > 200 && c.red() < 60 && c.blue() < 60;
}
bool IsDark(QColor c) {
    return c.red() < 80 && c.green() < 80 && c.blue() < 80;
}
bool IsNotWhite(QColor c) {
    return c != QColor(Qt::white);
}

void Drop(QWidget& target, const QList<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    delete data;
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetResourceLanguage(ResourceLanguage::English); }

    void commandsAreEnabledByTheirRules() {
        Desktop desktop;
        QCOMPARE(desktop.frame.windowTitle(), QString("Kelvane"));
        for (const uint32_t id : {ID_PROJECT_OPEN, ID_APP_EXIT, ID_HELP, ID_APP_ABOUT})
            QVERIFY2(desktop.Enabled(id), qPrintable(QString::number(id)));
        for (const uint32_t id :
             {ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, ID_COMM_SETTING, ID_FILE_MODEL_SETTING})
            QVERIFY2(!desktop.Enabled(id), qPrintable(QString::number(id)));
        QVERIFY(!desktop.app.IsCommandEnabled(ID_MODEL_SELECT));
        QVERIFY(EnabledConversions(desktop).empty());

        DemoCopy demo;
        desktop.app.OpenProjectPath(demo.Project());
        for (const uint32_t id :
             {ID_PROJECT_SAVE, ID_PROJECT_SAVE_AS, ID_COMM_SETTING, ID_FILE_MODEL_SETTING})
            QVERIFY2(desktop.Enabled(id), qPrintable(QString::number(id)));
        QVERIFY(desktop.app.IsCommandEnabled(ID_MODEL_SELECT));
        // A talvexNOVA project with the sample module, which serves all ten.
        QCOMPARE(EnabledConversions(desktop), (std::vector<uint32_t>{2000, 2001}));
        QCOMPARE(desktop.frame.windowTitle(), QString("Kelvane"));

        desktop.app.OpenProjectPath(demo.folder.File("missing.fsp"));
        QVERIFY(!desktop.Enabled(ID_PROJECT_SAVE));
        QVERIFY(!desktop.Enabled(ID_COMM_SETTING));
        QVERIFY(EnabledConversions(desktop).empty());
        QVERIFY(desktop.Enabled(ID_PROJECT_OPEN));
    }

    void acceleratorsRunOnlyEnabledCommands() {
        Desktop desktop;
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        // Without a project Ctrl+S and Shift+Ctrl+1 do nothing at all.
        QTest::keyClick(&desktop.frame, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&desktop.frame, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(desktop.messageBoxes.shown.empty());

        DemoCopy demo;
        desktop.app.OpenProjectPath(demo.Project());
        QVERIFY(desktop.app.Settings().m_bProjectLoaded);
        desktop.messageBoxes.answers = {IDNO, IDNO};
        QTest::keyClick(&desktop.frame, Qt::Key_S, Qt::ControlModifier);
        // Shift+Ctrl+1 is the second conversion item: talvexNOVA to talvexMAX.
        QTest::keyClick(&desktop.frame, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(desktop.messageBoxes.shown.size(), size_t(2));
        QCOMPARE(desktop.messageBoxes.shown[0].text, "Overwrite " + demo.Project() + " OK?");
        QCOMPARE(desktop.messageBoxes.shown[1].text,
                 std::string("Convert from talvexNOVA format project file to talvexMAX format."));
    }

    void theViewDrawsTheTagsInTheirColoursOnlyWithAProject() {
        Desktop desktop;
        desktop.frame.show();
        CKLVN_MAINView* view = desktop.frame.View();
        const QImage empty = view->grab().toImage();
        QCOMPARE(CountPixels(empty, QRect(0, 0, 500, 200), IsNotWhite), 0);

        DemoCopy demo;
        std::filesystem::remove(demo.folder.File("demo.mcr"));
        desktop.app.OpenProjectPath(demo.Project());
        QVERIFY(desktop.app.Settings().m_bProjectLoaded);
        const QImage drawn = view->grab().toImage();
        // Tag column, rows of FSR, UER, SBU (loaded) and MCR (missing).
        for (const int y : {120, 140, 160}) {
            QVERIFY2(CountPixels(drawn, QRect(0, y, 100, 18), IsBlue) > 10,
                     qPrintable(QString::number(y)));
            QCOMPARE(CountPixels(drawn, QRect(0, y, 100, 18), IsGreen), 0);
        }
        QVERIFY(CountPixels(drawn, QRect(0, 180, 100, 18), IsGreen) > 10);
        QCOMPARE(CountPixels(drawn, QRect(0, 180, 100, 18), IsBlue), 0);
        // File texts in black from x = 112; nothing left of the first line.
        QVERIFY(CountPixels(drawn, QRect(112, 120, 200, 18), IsDark) > 10);
        QCOMPARE(CountPixels(drawn, QRect(112, 120, 200, 18), IsBlue), 0);
        QVERIFY(CountPixels(drawn, QRect(64, 10, 200, 18), IsDark) > 10);
        QCOMPARE(CountPixels(drawn, QRect(0, 0, 60, 110), IsNotWhite), 0);

        // A failed open leaves the area blank again.
        desktop.app.OpenProjectPath(demo.folder.File("missing.fsp"));
        QCOMPARE(CountPixels(view->grab().toImage(), QRect(0, 0, 500, 200), IsNotWhite), 0);
    }

    void oneDroppedFileOpensTwoDoNothing() {
        DemoCopy demo;
        {
            Desktop desktop;
            QVERIFY(desktop.frame.acceptDrops());
            const QUrl project = QUrl::fromLocalFile(QString::fromStdString(demo.Project()));
            Drop(desktop.frame, {project, project});
            QVERIFY(!desktop.app.Settings().m_bProjectLoaded);
            QVERIFY(desktop.messageBoxes.shown.empty());
            Drop(desktop.frame, {project});
            QVERIFY(desktop.app.Settings().m_bProjectLoaded);
            QVERIFY(desktop.Enabled(ID_PROJECT_SAVE));
        }
        {
            Desktop desktop;
            Drop(desktop.frame,
                 {QUrl::fromLocalFile(QString::fromStdString(demo.folder.File("demo.fsr")))});
            QVERIFY(!desktop.app.Settings().m_bProjectLoaded);
            QVERIFY(desktop.messageBoxes.shown.empty());
        }
    }

    void menusAndToolbarComeFromTheTablesInEitherLanguage() {
        {
            Desktop desktop;
            const QList<QAction*> menus = desktop.frame.menuBar()->actions();
            QCOMPARE(menus.size(), 3);
            QCOMPARE(menus[0]->text(), QString("File(&F)"));
            QCOMPARE(desktop.frame.Action(ID_PROJECT_OPEN)->shortcut(),
                     QKeySequence(Qt::CTRL | Qt::Key_O));
            QCOMPARE(desktop.frame.Action(ID_PROJECT_SAVE_AS)->shortcut(),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
            QCOMPARE(desktop.frame.Action(32785)->shortcut(),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_9));
            QCOMPARE(desktop.frame.Action(ID_PROJECT_SAVE)->toolTip(), QString("Overwrite"));
            std::vector<uint32_t> buttons;
            for (QAction* action : desktop.frame.ToolBar()->actions())
                buttons.push_back(action->isSeparator() ? 0 : action->data().toUInt());
            QCOMPARE(buttons,
                     (std::vector<uint32_t>{ID_PROJECT_OPEN, ID_PROJECT_SAVE, 0,
                                            ID_FILE_MODEL_SETTING, ID_COMM_SETTING, 0, ID_HELP}));
        }
        SetResourceLanguage(ResourceLanguage::Japanese);
        Desktop desktop;
        QCOMPARE(desktop.frame.menuBar()->actions()[0]->text(), QString::fromUtf8("ファイル(&F)"));
        QCOMPARE(desktop.frame.Action(2000)->text(),
                 QString::fromUtf8("NOVA→BANTAM(&0)\tShift+Ctrl+0"));
        SetResourceLanguage(ResourceLanguage::English);
    }

    void helpRunsFromTheKeyboardAndReportsWhatIsMissing() {
        const std::string helpFile = std::string(KELVANE_PROGRAM_DIR) + "/kelvane.qch";
        Desktop desktop;
        QtContextHelp help(desktop.messageBoxes, helpFile);
        desktop.frame.SetHelpHandler(
            [&help](uint32_t data, uint32_t command) { help.WinHelp(data, command); });
        desktop.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&desktop.frame));
        // Help needs no project: Ctrl+H opens the main window's topic.
        QTest::keyClick(&desktop.frame, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(desktop.messageBoxes.shown.empty());
        QVERIFY(help.Viewer().TopicWindow() != nullptr && help.Viewer().TopicWindow()->isVisible());
        QVERIFY(help.Viewer().TopicWindow()->Browser()->source().path().endsWith(
            "en/main_window.html"));

        // A context the help file does not have names the file and the id.
        desktop.frame.WinHelp(0x20999, HELP_CONTEXT);
        QCOMPARE(desktop.messageBoxes.shown.size(), size_t{1});
        QCOMPARE(desktop.messageBoxes.shown[0].text,
                 "Can not find the specified topic.\n\nFile path [ " + helpFile +
                     " ]\n Context-ID [0x20000 + 0x0999(2457)]");

        // Without the help file the menu item says where it looked, in the
        // program's language.
        SetResourceLanguage(ResourceLanguage::Japanese);
        QtContextHelp lost(desktop.messageBoxes, helpFile + ".missing");
        desktop.frame.SetHelpHandler(
            [&lost](uint32_t data, uint32_t command) { lost.WinHelp(data, command); });
        desktop.frame.Action(ID_HELP)->trigger();
        SetResourceLanguage(ResourceLanguage::English);
        QCOMPARE(desktop.messageBoxes.shown.size(), size_t{2});
        QCOMPARE(QString::fromStdString(desktop.messageBoxes.shown[1].text),
                 QString::fromUtf8("ヘルプファイルが見つかりません。\n\nファイルパス [ ") +
                     QString::fromStdString(helpFile) + QStringLiteral(".missing ]"));
        QVERIFY(lost.Viewer().TopicWindow() == nullptr);
    }

    void aboutBoxComposesTheVersionLine() {
        QCOMPARE(CAboutDlg().VersionText(), QString("Kelvane Version 7.02"));
        QCOMPARE(CAboutDlg(nullptr, 0x00070002, 13, false).VersionText(),
                 QString("Kelvane Version 7.02PL3"));
        QCOMPARE(CAboutDlg(nullptr, 0x00070002, 0x00010000, false).VersionText(),
                 QString::fromUtf8("Kelvane Version 7.02(社)"));
        QCOMPARE(CAboutDlg(nullptr, 0x0007000A, 47, false).VersionText(),
                 QString::fromUtf8("Kelvane Version 7.10作7"));
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
