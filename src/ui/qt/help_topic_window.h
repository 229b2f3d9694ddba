// SPDX-License-Identifier: MIT
#pragma once

#include "ui/qt/help_page_search.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QAction;
class QHelpEngine;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QTabWidget;
class QTreeView;

namespace kelvane {

class ContentsInLanguage;
class HelpBrowser;
class KeywordsInLanguage;

// The help window: contents, index and full-text search beside the page,
// each panel keeping to the pages of one language, and Back, Forward and
// Home (Alt+Left, Alt+Right, Alt+Home) above. Its views are its own over
// the engine's models, so either may be destroyed first. Esc and Ctrl+W
// close it.
class HelpTopicWindow : public QWidget {
    Q_OBJECT

public:
    enum Panel { Contents = 0, Index = 1, Search = 2 };

    // `owner` (may be null) is the window it stays above and opens beside.
    HelpTopicWindow(QHelpEngine& engine, QWidget* owner);

    // The language folder ("en", "ja") whose entries the panels list.
    void SetLanguage(const QString& language);
    // The page Home shows: the contents page of the language.
    void SetHomePage(const QUrl& url);

    void ShowPage(const QUrl& url);
    void ShowPanel(Panel panel);
    // Brings the window up, in front of its owner; the first time beside it.
    // Whole on its screen: where it was put stays as long as it fits there.
    void Present();

    HelpBrowser* Browser() const { return m_browser; }
    Panel CurrentPanel() const;
    QTabWidget* Panels() const { return m_panels; }
    QTreeView* ContentsView() const { return m_contents; }
    QListView* IndexView() const { return m_index; }
    QLineEdit* SearchInput() const { return m_searchInput; }
    QListWidget* SearchResults() const { return m_searchResults; }
    QLabel* SearchMessage() const { return m_searchMessage; }
    QAction* BackAction() const { return m_back; }
    QAction* ForwardAction() const { return m_forward; }
    QAction* HomeAction() const { return m_home; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeToolBar();
    QWidget* MakeSearchPanel();
    void OpenLink(const QUrl& url);
    void OpenContentsEntry(const QModelIndex& index);
    void FollowPageInContents(const QUrl& page);
    void RunSearch();
    void UpdateHome(const QUrl& shown);
    void PlaceBesideOwner();
    void KeepOnScreen(const QMargins& frame);
    void FitOnceExposed();

    QPointer<QHelpEngine> m_engine;
    HelpBrowser* m_browser;
    QTabWidget* m_panels;
    QTreeView* m_contents;
    ContentsInLanguage* m_contentsModel;
    QListView* m_index;
    KeywordsInLanguage* m_indexModel;
    HelpPageSearch m_search;
    QLineEdit* m_searchInput = nullptr;
    QListWidget* m_searchResults = nullptr;
    QLabel* m_searchMessage = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    QUrl m_homePage;
    bool m_placed = false;
    // Set while the window is being shown: once it is, its real frame is
    // known and checked against the screen.
    bool m_fitWhenExposed = false;
};

} // namespace kelvane
