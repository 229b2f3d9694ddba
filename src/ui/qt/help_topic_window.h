#pragma once

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QListView;
class QListWidget;
class QTabWidget;
class QTreeView;

namespace kelvane {

// Shows the pages of the help file; links inside it stay inside it, other
// links go to the desktop's browser.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& url) override;

private:
    QPointer<QHelpEngine> m_engine;
};

// The help window: contents, index and full-text search beside the page.
// Its views are its own over the engine's models, so either may be
// destroyed first.
class HelpTopicWindow : public QWidget {
public:
    enum Panel { Contents = 0, Index = 1, Search = 2 };

    // `owner` (may be null) is the window it stays above.
    HelpTopicWindow(QHelpEngine& engine, QWidget* owner);

    void ShowPage(const QUrl& url);
    void ShowPanel(Panel panel);
    // Brings the window up, in front of its owner.
    void Present();

    HelpBrowser* Browser() const { return m_browser; }
    Panel CurrentPanel() const;

private:
    QWidget* MakeSearchPanel();
    void OpenLink(const QUrl& url);
    void OpenKeyword(const QModelIndex& index);
    void ShowSearchResults();

    QPointer<QHelpEngine> m_engine;
    HelpBrowser* m_browser;
    QTabWidget* m_panels;
    QTreeView* m_contents;
    QListView* m_index;
    QLineEdit* m_searchInput = nullptr;
    QListWidget* m_searchResults = nullptr;
    bool m_searchIndexed = false;
};

} // namespace kelvane
