// The help viewer and desktop against the help file the build compiles.
#include "res/dialog_templates.h"
#include "res/string_table.h"
#include "test_files.h"
#include "ui/context_help.h"
#include "ui/qt/qt_help_desktop.h"
#include "ui/qt/qt_help_viewer.h"

#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include <tuple>

using namespace kelvane;

namespace {

const std::string kHelpFile = std::string(KELVANE_PROGRAM_DIR) + "/kelvane.qch";

HelpPopupRequest PopupAt(uint32_t topic, int x, int y) {
    return {.popupFile = kTextPopupFile,
            .topicId = topic,
            .position = {x, y},
            .backgroundColor = kPopupBackgroundColor};
}

} // namespace

class QtHelpTest : public QObject {
    Q_OBJECT

    QtHelpViewer viewer; // loaded once, as in a run

private slots:
    void initTestCase() { QVERIFY(viewer.Load(kHelpFile)); }
    void init() { SetResourceLanguage(ResourceLanguage::English); }

    void topicsAndLinksStayInTheHelpFileAndTheLanguage() {
        auto* owner = new QWidget;
        viewer.SetOwner(owner);
        for (const auto& [language, folder, title] :
             {std::tuple{ResourceLanguage::English, "/en/", "The main window"},
              std::tuple{ResourceLanguage::Japanese, "/ja/", "メインウィンドウ"}}) {
            SetResourceLanguage(language);
            QVERIFY(viewer.TopicUrl(0x20082).path().contains(QLatin1String(folder)));
            QVERIFY(viewer.ShowTopic(0x20080));
            QVERIFY(viewer.TopicWindow()->isVisible());
            QCOMPARE(viewer.TopicWindow()->Browser()->documentTitle(), QString::fromUtf8(title));
        }
        QVERIFY(!viewer.ShowTopic(0x20999)); // in neither language
        SetResourceLanguage(ResourceLanguage::English);
        QVERIFY(viewer.ShowContents());
        HelpBrowser* browser = viewer.TopicWindow()->Browser();
        QVERIFY(browser->source().path().endsWith(QLatin1String("/en/index.html")));
        emit browser->anchorClicked(QUrl(QStringLiteral("comm_setting.html")));
        QVERIFY(browser->toPlainText().contains(QLatin1String("Multi-Core Server")));
        delete owner;
        QVERIFY(viewer.TopicWindow() == nullptr); // the window goes with its owner
    }

    void popupsHaveTextsInEachLanguageShowAtThePointAndCloseOnInput() {
        const QString file = QString::fromLatin1(kTextPopupFile);
        // Every control of the dialogs with the "?" button, and one of the
        // files dialog.
        std::vector<uint32_t> ids{1023};
        for (const DialogTemplate& dialog : EnglishDialogTemplates())
            for (const DialogControl& control : dialog.controls)
                if (dialog.contextHelpButton && control.id > 0)
                    ids.push_back(static_cast<uint32_t>(control.id));
        QVERIFY(ids.size() > 12);
        for (const uint32_t id : ids) {
            const auto english = viewer.PopupText(file, id);
            SetResourceLanguage(ResourceLanguage::Japanese);
            const auto japanese = viewer.PopupText(file, id);
            SetResourceLanguage(ResourceLanguage::English);
            QVERIFY2(english && !english->isEmpty() && japanese && *japanese != *english,
                     qPrintable(QString::number(id)));
        }

        QVERIFY(!viewer.ShowPopup(PopupAt(4242, 40, 50)) && viewer.Popup() == nullptr);
        QVERIFY(viewer.ShowPopup(PopupAt(1002, 40, 50)));
        QPointer<TextPopup> popup = viewer.Popup();
        QCOMPARE(popup->pos(), QPoint(40, 50));
        QVERIFY(popup->isVisible() && popup->text().contains(QLatin1String("IP address")));
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
        QVERIFY(!garbage.ShowTopic(0x20080) && !garbage.ShowContents() &&
                !garbage.ShowPopup(PopupAt(1002, 0, 0)));
        QVERIFY(!QtHelpViewer().Load(folder.Path()));
    }
    void desktopFindsParentIdsAndBalancesItsWaitCursor() {
        QWidget top;
        top.setProperty(kControlIdProperty, 128);
        auto* edit = new QLineEdit(new QWidget(&top));
        edit->setProperty(kControlIdProperty, 1002); // its own id is not among them
        QCOMPARE(QtHelpDesktop::ParentControlIds(edit), (std::vector<uint32_t>{0, 128}));
        {
            QtHelpDesktop waiting;
            waiting.BeginWaitCursor();
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        } // left up: taken down as the desktop goes
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(QtHelpTest)
#include "qt_help_test.moc"
