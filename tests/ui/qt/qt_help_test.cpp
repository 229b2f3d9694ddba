// The context help against the help file the build compiles.
#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"
#include "ui/context_help.h"
#include "ui/qt/help_topic_window.h"
#include "ui/qt/qt_context_help.h"
#include "ui/qt/qt_help_desktop.h"
#include "ui/qt/qt_help_viewer.h"
#include "ui/qt/text_popup.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

using namespace kelvane;

namespace {

const std::string kHelpFile = std::string(KELVANE_PROGRAM_DIR) + "/kelvane.qch";

// Every control of the two settings dialogs, OK and Cancel included.
const uint32_t kControlIds[] = {1,    2,    1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1009,
                                1013, 1010, 1011, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023};

HelpPopupRequest PopupAt(uint32_t topic, int x, int y) {
    HelpPopupRequest request;
    request.popupFile = kTextPopupFile;
    request.topicId = topic;
    request.position = {x, y};
    request.textColor = kPopupTextColor;
    request.backgroundColor = kPopupBackgroundColor;
    return request;
}

} // namespace

class QtHelpTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetResourceLanguage(ResourceLanguage::English); }
    void cleanup() { SetResourceLanguage(ResourceLanguage::English); }

    void topicsAreFoundByContextIdInEachLanguage() {
        QtHelpViewer viewer;
        QVERIFY(viewer.Load(kHelpFile));
        const struct {
            ResourceLanguage language;
            const char* folder;
            const char* mainTitle;
        } languages[] = {
            {ResourceLanguage::English, "/en/", "The main window"},
            {ResourceLanguage::Japanese, "/ja/", "メインウィンドウ"},
        };
        for (const auto& language : languages) {
            SetResourceLanguage(language.language);
            for (const uint32_t id : {0x20080u, 0x20082u, 0x20084u}) {
                const QUrl url = viewer.TopicUrl(id);
                QVERIFY2(url.path().contains(QLatin1String(language.folder)),
                         qPrintable(QString::number(id, 16) + " " + url.toString()));
            }
            QVERIFY(viewer.ShowTopic(0x20080));
            HelpTopicWindow* window = viewer.TopicWindow();
            QVERIFY(window != nullptr && window->isVisible());
            QCOMPARE(window->Browser()->documentTitle(), QString::fromUtf8(language.mainTitle));
            QVERIFY(window->Browser()->source().path().endsWith(QLatin1String(language.folder) +
                                                                QLatin1String("main_window.html")));
        }
        // Ids the help file does not map.
        QVERIFY(viewer.TopicUrl(0x20999).isEmpty());
        QVERIFY(viewer.TopicUrl(0x50080).isEmpty());
        QVERIFY(!viewer.ShowTopic(0x20999));
    }

    void linksStayInsideTheHelpFile() {
        QtHelpViewer viewer;
        QVERIFY(viewer.Load(kHelpFile));
        QVERIFY(viewer.ShowContents());
        HelpTopicWindow* window = viewer.TopicWindow();
        QCOMPARE(window->CurrentPanel(), HelpTopicWindow::Contents);
        QVERIFY(window->Browser()->source().path().endsWith(QLatin1String("/en/index.html")));
        emit window->Browser()->anchorClicked(QUrl(QStringLiteral("comm_setting.html")));
        QCOMPARE(window->Browser()->documentTitle(), QStringLiteral("Comm setting"));
        QVERIFY(window->Browser()->toPlainText().contains(QLatin1String("Multi-Core Server")));

        QVERIFY(viewer.ShowIndex());
        QCOMPARE(window->CurrentPanel(), HelpTopicWindow::Index);
        QVERIFY(viewer.ShowSearch());
        QCOMPARE(window->CurrentPanel(), HelpTopicWindow::Search);
    }

    void topicWindowStaysWithItsOwner() {
        QtHelpViewer viewer;
        QVERIFY(viewer.Load(kHelpFile));
        auto* owner = new QWidget;
        viewer.SetOwner(owner);
        QVERIFY(viewer.ShowContents());
        QCOMPARE(viewer.TopicWindow()->parentWidget(), owner);
        // The window goes with the main window; the engine stays usable.
        delete owner;
        QVERIFY(viewer.TopicWindow() == nullptr);
        QVERIFY(viewer.ShowTopic(0x20080));
        QVERIFY(viewer.TopicWindow() != nullptr && viewer.TopicWindow()->parentWidget() == nullptr);
    }

    void popupTextsComeFromThePopupFile() {
        QtHelpViewer viewer;
        QVERIFY(viewer.Load(kHelpFile));
        const QString file = QString::fromLatin1(kTextPopupFile);
        std::map<uint32_t, QString> english;
        for (const uint32_t id : kControlIds) {
            const std::optional<QString> text = viewer.PopupText(file, id);
            QVERIFY2(text && !text->isEmpty(), qPrintable(QString::number(id)));
            english[id] = *text;
        }
        QVERIFY(english[1002].contains(QLatin1String("IP address")));
        QVERIFY(!viewer.PopupText(file, 4242));
        QVERIFY(!viewer.PopupText(QStringLiteral("none.txt"), 1002));

        SetResourceLanguage(ResourceLanguage::Japanese);
        for (const uint32_t id : kControlIds) {
            const std::optional<QString> text = viewer.PopupText(file, id);
            QVERIFY2(text && *text != english[id], qPrintable(QString::number(id)));
        }
        QVERIFY(viewer.PopupText(file, 1002)->contains(QString::fromUtf8("IP アドレス")));
    }

    void popupShowsAtThePointInPaleYellowAndClosesOnInput() {
        QtHelpViewer viewer;
        QVERIFY(viewer.Load(kHelpFile));
        QVERIFY(!viewer.ShowPopup(PopupAt(4242, 40, 50)));
        QVERIFY(viewer.Popup() == nullptr);

        QVERIFY(viewer.ShowPopup(PopupAt(1002, 40, 50)));
        QPointer<TextPopup> popup = viewer.Popup();
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->pos(), QPoint(40, 50));
        QVERIFY(popup->text().contains(QLatin1String("IP address")));
        const QImage image = popup->grab().toImage();
        QCOMPARE(image.pixelColor(3, 3), QColor(255, 255, 208));
        QTest::mouseClick(popup, Qt::LeftButton);
        QTRY_VERIFY(popup.isNull());

        // A popup that would leave the screen is moved onto it.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(viewer.ShowPopup(PopupAt(1023, screen.right() + 500, screen.bottom())));
        popup = viewer.Popup();
        QVERIFY(screen.contains(popup->frameGeometry()));
        QTest::keyClick(popup, Qt::Key_Escape);
        QTRY_VERIFY(popup.isNull());
    }

    void unusableHelpFilesDoNotLoad() {
        test::TempFolder folder;
        test::WriteBytes(folder.File("kelvane.qch"), "not a help file");
        QtHelpViewer garbage;
        QVERIFY(!garbage.Load(folder.File("kelvane.qch")));
        QVERIFY(!garbage.ShowTopic(0x20080));
        QVERIFY(!garbage.ShowContents());
        QVERIFY(!garbage.ShowPopup(PopupAt(1002, 0, 0)));
        QtHelpViewer atFolder;
        QVERIFY(!atFolder.Load(folder.Path()));
    }

    void parentsUnderTheCursorAreFoundByTheirProperty() {
        QWidget top;
        top.setProperty(kControlIdProperty, 128);
        auto* group = new QWidget(&top);
        auto* edit = new QLineEdit(group);
        edit->setProperty(kControlIdProperty, 1002);
        auto* inner = new QVBoxLayout(group);
        inner->addWidget(edit);
        auto* outer = new QVBoxLayout(&top);
        outer->addWidget(group);

        QCOMPARE(QtHelpDesktop::ParentControlIds(edit), (std::vector<uint32_t>{0, 128}));
        QCOMPARE(QtHelpDesktop::ParentControlIds(&top), std::vector<uint32_t>{});
        QCOMPARE(QtHelpDesktop::ParentControlIds(nullptr), std::vector<uint32_t>{});

        top.resize(300, 120);
        top.move(20, 20);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QtHelpDesktop desktop;
        QCursor::setPos(edit->mapToGlobal(edit->rect().center()));
        if (QApplication::widgetAt(QCursor::pos()) != edit)
            QSKIP("this platform does not move the cursor");
        QCOMPARE(desktop.ParentControlIdsUnderCursor(), (std::vector<uint32_t>{0, 128}));
        QCOMPARE(desktop.CursorPosition(), (ScreenPoint{QCursor::pos().x(), QCursor::pos().y()}));
    }

    void desktopWaitsAndCancelsModes() {
        {
            QtHelpDesktop desktop;
            desktop.BeginWaitCursor();
            QVERIFY(QApplication::overrideCursor() != nullptr);
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            desktop.EndWaitCursor();
            QVERIFY(QApplication::overrideCursor() == nullptr);
            desktop.EndWaitCursor(); // unbalanced: no effect on others' cursors
            desktop.BeginWaitCursor();
        }
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QMenu menu;
        menu.addAction(QStringLiteral("Item"));
        menu.popup(QPoint(10, 10));
        QTRY_VERIFY(QApplication::activePopupWidget() == &menu);
        QtHelpDesktop().CancelModes();
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY(!menu.isVisible());
    }

    void dialogHelpShowsPopupsAndNeedsTheHelpFile() {
        test::MessageBoxRecorder boxes;
        QtContextHelp help(boxes, kHelpFile);
        QVERIFY(help.OnHelpInfo(1002));
        QVERIFY(help.Viewer().Popup() && help.Viewer().Popup()->isVisible());
        QVERIFY(!help.OnHelpInfo(0));

        test::MessageBoxRecorder lostBoxes;
        QtContextHelp lost(lostBoxes, kHelpFile + ".missing");
        QVERIFY(lost.OnHelpInfo(1002));
        QCOMPARE(lostBoxes.shown.size(), size_t{1});
        QCOMPARE(lostBoxes.shown[0].text,
                 "Help file not found.\n\nFile path [ " + kHelpFile + ".missing ]");
        QVERIFY(lost.Viewer().Popup() == nullptr);
    }
};

QTEST_MAIN(QtHelpTest)
#include "qt_help_test.moc"
