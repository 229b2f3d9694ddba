// SPDX-License-Identifier: MIT
// The help viewer and desktop against the help file the build compiles.
#include "res/dialog_ids.h"
#include "res/dialog_templates.h"
#include "res/menu_resources.h"
#include "res/string_table.h"
#include "test_files.h"
#include "ui/context_help.h"
#include "ui/qt/help_browser.h"
#include "ui/qt/help_language_models.h"
#include "ui/qt/qt_help_desktop.h"
#include "ui/qt/qt_help_viewer.h"
#include "ui/qt/window_placement.h"

#include <QHelpContentItem>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include <set>
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

constexpr uint32_t kMainWindowTopic = 0x20080;

struct Language {
    ResourceLanguage language;
    QString folder;
};
const Language kEnglish{ResourceLanguage::English, QStringLiteral("en")};
const Language kJapanese{ResourceLanguage::Japanese, QStringLiteral("ja")};

// A menu or control text as the user sees it: no shortcut after the tab, no
// "(&K)" mnemonic, no "...", "&&" shown as "&".
QString Shown(const char* resourceText) {
    QString text = QString::fromUtf8(resourceText).section(QLatin1Char('\t'), 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.trimmed();
}

// Every menu and menu item of the current language as "Menu > Item".
std::set<QString> MenuPaths() {
    std::set<QString> paths;
    QStringList open;
    for (const MenuEntry& entry : MainMenu()) {
        if (entry.kind == MenuEntry::PopupEnd) {
            open.removeLast();
            continue;
        }
        if (entry.kind != MenuEntry::PopupBegin && entry.kind != MenuEntry::Item)
            continue;
        QStringList path = open;
        path.append(Shown(entry.text));
        paths.insert(path.join(QLatin1String(" > ")));
        if (entry.kind == MenuEntry::PopupBegin)
            open = path;
    }
    return paths;
}

// The runs of bold text of the page shown, with their white space simplified.
QStringList BoldTexts(const QTextDocument& page) {
    QStringList bold;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        QString run;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().fontWeight() >= QFont::Bold) {
                run += fragment.fragment().text();
                continue;
            }
            if (!run.trimmed().isEmpty())
                bold.append(run.simplified());
            run.clear();
        }
        if (!run.trimmed().isEmpty())
            bold.append(run.simplified());
    }
    return bold;
}

// One click on an entry of a view, scrolled into sight first.
void ClickOn(QAbstractItemView* view, const QModelIndex& entry) {
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
}

// The titles and control texts of the dialogs, as shown.
std::set<QString> DialogTexts(std::initializer_list<unsigned> dialogs, ResourceLanguage language) {
    std::set<QString> texts;
    for (const unsigned id : dialogs) {
        const DialogTemplate* dialog = FindDialogTemplate(id, language);
        texts.insert(QString::fromUtf8(dialog->title)); // a title has no mnemonic
        for (const DialogControl& control : dialog->controls)
            texts.insert(Shown(control.text));
    }
    return texts;
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

    void eachLanguageListsItsOwnContentsIndexAndSearchResults() {
        QWidget owner;
        viewer.SetOwner(&owner);
        for (const auto& [language, top, keyword, other, word, noHits] :
             {std::tuple{kEnglish, "Kelvane Help", "Saving a project", "メインウィンドウ",
                         "project", "No topics found"},
              std::tuple{kJapanese, "Kelvane ヘルプ", "プロジェクトの保存", "Main window",
                         "プロジェクト", "該当するトピックはありません"}}) {
            SetResourceLanguage(language.language);
            QVERIFY(viewer.ShowTopic(kMainWindowTopic));
            HelpTopicWindow* window = viewer.TopicWindow();

            // One top entry, the language's own, with the pages under it.
            QAbstractItemModel* contents = window->ContentsView()->model();
            QTRY_COMPARE(contents->rowCount(), 1);
            QCOMPARE(contents->index(0, 0).data().toString(), QString::fromUtf8(top));
            QCOMPARE(contents->rowCount(contents->index(0, 0)), 3);

            QAbstractItemModel* index = window->IndexView()->model();
            QTRY_VERIFY(index->rowCount() > 0);
            QStringList keywords;
            for (int row = 0; row < index->rowCount(); ++row)
                keywords.append(index->index(row, 0).data().toString());
            QVERIFY2(keywords.contains(QString::fromUtf8(keyword)) &&
                         !keywords.contains(QString::fromUtf8(other)),
                     qPrintable(keywords.join(QLatin1Char(','))));
            // Away from the keyword's page, then one click on the keyword.
            emit window->Browser()->anchorClicked(QUrl(QStringLiteral("index.html")));
            QVERIFY(viewer.ShowIndex());
            ClickOn(window->IndexView(),
                    index->index(keywords.indexOf(QString::fromUtf8(keyword)), 0));
            QCOMPARE(HelpLanguageOf(window->Browser()->source()), language.folder);
            QVERIFY(window->Browser()->source().path().endsWith(QLatin1String("main_window.html")));

            // The search tab opened by a click, as the user does, and a word
            // of the main window's page in this language.
            QTabBar* tabs = window->Panels()->findChild<QTabBar*>();
            QTest::mouseClick(tabs, Qt::LeftButton, {},
                              tabs->tabRect(HelpTopicWindow::Search).center());
            QCOMPARE(window->CurrentPanel(), HelpTopicWindow::Search);
            QListWidget* results = window->SearchResults();
            window->SearchInput()->setText(QStringLiteral("nonesuchword"));
            QTest::keyClick(window->SearchInput(), Qt::Key_Return);
            QVERIFY(results->count() == 0 && window->SearchMessage()->isVisible());
            QCOMPARE(window->SearchMessage()->text(), QString::fromUtf8(noHits));
            window->SearchInput()->setText(QString::fromUtf8(word));
            QTest::keyClick(window->SearchInput(), Qt::Key_Return);
            QVERIFY(results->count() > 0 && !window->SearchMessage()->isVisible());
            QStringList pages;
            for (int row = 0; row < results->count(); ++row) {
                const QUrl page = results->item(row)->data(Qt::UserRole + 1).toUrl();
                QCOMPARE(HelpLanguageOf(page), language.folder);
                pages.append(page.fileName());
            }
            QVERIFY2(pages.contains(QLatin1String("main_window.html")),
                     qPrintable(pages.join(QLatin1Char(','))));
            QVERIFY(!pages.contains(QLatin1String("KLVN_MAIN_pop.txt")));
            emit window->Browser()->anchorClicked(QUrl(QStringLiteral("index.html")));
            ClickOn(results,
                    results->model()->index(pages.indexOf(QLatin1String("main_window.html")), 0));
            QVERIFY(window->Browser()->source().path().endsWith(
                QLatin1String("/") + language.folder + QLatin1String("/main_window.html")));
        }
        // Every word must be there; letter case and character width do not matter.
        const auto firstHit = [&](const char* query) {
            if (!viewer.ShowSearch())
                return QStringLiteral("(no search)");
            HelpTopicWindow* window = viewer.TopicWindow();
            window->SearchInput()->setText(QString::fromUtf8(query));
            QTest::keyClick(window->SearchInput(), Qt::Key_Return);
            QListWidget* results = window->SearchResults();
            return results->count() == 0 ? QString() : results->item(0)->text();
        };
        QCOMPARE(firstHit("ﾏﾙﾁｺｱｻｰﾊﾞ"), QStringLiteral("通信設定"));
        SetResourceLanguage(ResourceLanguage::English);
        QCOMPARE(firstHit("ｄｅｔｅｃｔｅｄ ＵＳＢ"), QStringLiteral("Comm setting"));
        QCOMPARE(firstHit("detected nonesuch"), QString());
    }

    void contentsOpenOnOneClickAndFollowThePageShownBackForwardAndHome() {
        QWidget owner;
        viewer.SetOwner(&owner);
        QVERIFY(viewer.ShowTopic(kMainWindowTopic));
        HelpTopicWindow* window = viewer.TopicWindow();
        QTreeView* tree = window->ContentsView();
        QAbstractItemModel* contents = tree->model();
        const auto currentTitle = [&] { return tree->currentIndex().data().toString(); };
        QTRY_COMPARE(currentTitle(), QStringLiteral("The main window"));
        // The first letters of Back, Forward and Home where they are enabled.
        const auto buttons = [window] {
            QString enabled;
            for (const QAction* action :
                 {window->BackAction(), window->ForwardAction(), window->HomeAction()})
                enabled += action->isEnabled() ? action->text().at(0) : QLatin1Char('-');
            return enabled;
        };
        QCOMPARE(buttons(), QStringLiteral("--H"));

        const QModelIndex comm = contents->index(1, 0, contents->index(0, 0));
        QCOMPARE(comm.data().toString(), QStringLiteral("Comm setting"));
        ClickOn(tree, comm);
        QVERIFY(
            window->Browser()->source().path().endsWith(QLatin1String("/en/comm_setting.html")));

        emit window->Browser()->anchorClicked(QUrl(QStringLiteral("index.html")));
        QCOMPARE(currentTitle(), QStringLiteral("Kelvane Help"));
        emit window->Browser()->anchorClicked(QUrl(QStringLiteral("file_model_setting.html")));
        QCOMPARE(currentTitle(), QStringLiteral("Files & ICE model setting"));
        QCOMPARE(buttons(), QStringLiteral("B-H"));

        // One step a key, wherever the focus is in the window.
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(window->Browser(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(currentTitle(), QStringLiteral("Kelvane Help"));
        QCOMPARE(buttons(), QStringLiteral("BF-")); // the contents page is home
        QTest::keyClick(tree, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(currentTitle(), QStringLiteral("Comm setting"));
        QTest::keyClick(tree, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(currentTitle(), QStringLiteral("The main window"));
        QCOMPARE(buttons(), QStringLiteral("-FH"));
        QTest::mouseClick(window->findChild<QToolBar*>()->widgetForAction(window->ForwardAction()),
                          Qt::LeftButton);
        QCOMPARE(currentTitle(), QStringLiteral("Comm setting"));
        QCOMPARE(buttons(), QStringLiteral("BFH"));
        QTest::keyClick(window->Browser(), Qt::Key_Left, Qt::AltModifier);
        QTest::keyClick(window->Browser(), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(currentTitle(), QStringLiteral("Kelvane Help"));
        QCOMPARE(buttons(), QStringLiteral("B--")); // a new page ends the way forward
        QTest::keyClick(window->Browser(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(currentTitle(), QStringLiteral("The main window"));
    }

    void windowOpensBesideItsOwnerWholeOnItsScreenAndClosesOnEscOrCtrlW() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1024, 768)); // as tests/CMakeLists.txt sets it up
        {
            // Room above a frameless owner in the corner, as the guess at the
            // window's frame has it; the real frame is kept on the screen too.
            QWidget corner(nullptr, Qt::FramelessWindowHint);
            corner.setGeometry(QRect(QPoint(), QSize(300, 200))
                                   .translated(screen.bottomRight() - QPoint(299, 199)));
            corner.show();
            QVERIFY(QTest::qWaitForWindowExposed(&corner));
            viewer.SetOwner(&corner);
            QVERIFY(viewer.ShowTopic(kMainWindowTopic));
            QVERIFY(QTest::qWaitForWindowExposed(viewer.TopicWindow()));
            QTRY_VERIFY(screen.contains(viewer.TopicWindow()->frameGeometry()));
        }
        QWidget owner;
        owner.setGeometry(screen.left() + 20, screen.top() + 20, 300, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        viewer.SetOwner(&owner);
        QVERIFY(viewer.ShowTopic(kMainWindowTopic));
        HelpTopicWindow* window = viewer.TopicWindow();
        QVERIFY(!window->frameGeometry().intersects(owner.frameGeometry()));
        QVERIFY(screen.contains(window->frameGeometry()));
        QVERIFY(window->width() >= 480 && window->height() >= 320);

        for (const QKeyCombination keys :
             {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
            QVERIFY(viewer.ShowTopic(kMainWindowTopic));
            // The shortcuts act in the active window; activation comes a little later.
            QTRY_COMPARE(QApplication::activeWindow(), window);
            QTest::keyClick(window->Browser(), keys.key(), keys.keyboardModifiers());
            QTRY_VERIFY(!window->isVisible());
        }
        // Moved by the user, it stays where it was put; put partly off the
        // screen, and larger than it, it opens whole on it.
        window->move(screen.topLeft() + QPoint(5, 5));
        QVERIFY(viewer.ShowTopic(kMainWindowTopic));
        QCOMPARE(window->pos(), screen.topLeft() + QPoint(5, 5));
        window->close();
        window->setGeometry(QRect(screen.center(), QSize(1100, 500)));
        QVERIFY(viewer.ShowTopic(kMainWindowTopic));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(screen.contains(window->frameGeometry()));
        QCOMPARE(window->frameGeometry().width(), screen.width());
    }

    void placementBesideAnOwner() {
        const QRect area(0, 0, 1024, 768);
        const QSize size(820, 560);
        const QSize least(480, 320);
        // Room on the right: lined up with the owner's top.
        QCOMPARE(PlacedBeside(QRect(0, 40, 150, 300), size, least, area), QRect(150, 40, 820, 560));
        // None on the right: on the left, moved up to stay on the screen.
        QCOMPARE(PlacedBeside(QRect(850, 400, 174, 200), size, least, area),
                 QRect(30, 208, 820, 560));
        // Nowhere whole: the most room, below here, takes it shrunk.
        QCOMPARE(PlacedBeside(QRect(0, 0, 600, 330), size, least, area), QRect(0, 330, 820, 438));
        // Too little room anywhere: as little over the owner as the screen allows.
        QCOMPARE(PlacedBeside(QRect(10, 10, 1000, 740), size, least, area),
                 QRect(204, 10, 820, 560));
        QCOMPARE(PlacedBeside(QRect(0, 0, 100, 100), QSize(2000, 900), least, area),
                 QRect(100, 0, 924, 768));
        QCOMPARE(KeptWithin(QRect(-50, 700, 100, 100), area), QRect(0, 668, 100, 100));
    }

    void pagesNameOnlyMenusAndControlsTheProgramHas() {
        QWidget owner;
        viewer.SetOwner(&owner);
        QVERIFY(MenuPaths().count(QStringLiteral("Edit > Files & ICE model setting")) == 1);
        for (const Language& language : {kEnglish, kJapanese}) {
            SetResourceLanguage(language.language);
            const std::set<QString> menu = MenuPaths();
            const std::set<QString> comm =
                DialogTexts({IDD_COMM_SETTING, IDD_USB_DEVICE_LIST}, language.language);
            const std::set<QString> files =
                DialogTexts({IDD_FILE_MODEL_SETTING}, language.language);
            QVERIFY(viewer.ShowTopic(kMainWindowTopic));
            HelpBrowser* browser = viewer.TopicWindow()->Browser();
            for (const auto& [page, controls] :
                 {std::pair{"index.html", static_cast<const std::set<QString>*>(nullptr)},
                  std::pair{"main_window.html", static_cast<const std::set<QString>*>(nullptr)},
                  std::pair{"comm_setting.html", &comm},
                  std::pair{"file_model_setting.html", &files}}) {
                browser->setSource(
                    viewer.TopicUrl(kMainWindowTopic).resolved(QUrl(QLatin1String(page))));
                const QString where = language.folder + QLatin1Char('/') + QLatin1String(page);
                QVERIFY2(!browser->toPlainText().isEmpty(), qPrintable(where));
                QVERIFY2(!browser->toPlainText().contains(QLatin1String("&&")), qPrintable(where));
                for (const QString& bold : BoldTexts(*browser->document())) {
                    const QString what = where + QLatin1String(": ") + bold;
                    if (bold.contains(QLatin1String(" > ")))
                        QVERIFY2(menu.count(bold) == 1, qPrintable(what));
                    else if (controls != nullptr)
                        QVERIFY2(controls->count(bold) == 1, qPrintable(what));
                }
            }
        }
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
