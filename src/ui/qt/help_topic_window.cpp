#include "ui/qt/help_topic_window.h"

#include "platform/qt/qt_text.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace kelvane {
namespace {

QString UiText(unsigned id) {
    return ToQString(LoadResourceString(id));
}

constexpr int kUrlRole = Qt::UserRole + 1;

} // namespace

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent)
    : QTextBrowser(parent), m_engine(&engine) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& url) {
    if (url.scheme() == QLatin1String("qthelp"))
        return m_engine ? QVariant(m_engine->fileData(url)) : QVariant();
    return QTextBrowser::loadResource(type, url);
}

HelpTopicWindow::HelpTopicWindow(QHelpEngine& engine, QWidget* owner)
    : QWidget(owner, Qt::Window), m_engine(&engine) {
    setWindowTitle(UiText(IDS_HELP_WINDOW_TITLE));
    resize(820, 560);

    m_browser = new HelpBrowser(engine, this);
    // Links are followed here so that only the help file's own pages open
    // inside the window.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpTopicWindow::OpenLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        if (!m_browser->documentTitle().isEmpty())
            setWindowTitle(m_browser->documentTitle());
    });

    m_panels = new QTabWidget(this);
    m_contents = new QTreeView(m_panels);
    m_contents->setModel(engine.contentModel());
    m_contents->header()->hide();
    m_panels->addTab(m_contents, UiText(IDS_HELP_CONTENTS));
    connect(m_contents, &QTreeView::activated, this, [this](const QModelIndex& index) {
        if (m_engine)
            if (const QHelpContentItem* item = m_engine->contentModel()->contentItemAt(index))
                ShowPage(item->url());
    });

    m_index = new QListView(m_panels);
    m_index->setModel(engine.indexModel());
    m_index->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_panels->addTab(m_index, UiText(IDS_HELP_INDEX));
    connect(m_index, &QListView::activated, this, &HelpTopicWindow::OpenKeyword);

    m_panels->addTab(MakeSearchPanel(), UiText(IDS_HELP_SEARCH));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_panels);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 600});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

QWidget* HelpTopicWindow::MakeSearchPanel() {
    auto* panel = new QWidget(m_panels);
    m_searchInput = new QLineEdit(panel);
    m_searchResults = new QListWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(m_searchInput);
    layout->addWidget(m_searchResults, 1);
    connect(m_searchInput, &QLineEdit::returnPressed, this, [this] {
        if (m_engine && !m_searchInput->text().trimmed().isEmpty())
            m_engine->searchEngine()->search(m_searchInput->text());
    });
    connect(m_engine->searchEngine(), &QHelpSearchEngine::searchingFinished, this,
            &HelpTopicWindow::ShowSearchResults);
    connect(m_searchResults, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(kUrlRole).toUrl()); });
    return panel;
}

void HelpTopicWindow::ShowSearchResults() {
    m_searchResults->clear();
    if (!m_engine)
        return;
    QHelpSearchEngine* search = m_engine->searchEngine();
    for (const QHelpSearchResult& result : search->searchResults(0, search->searchResultCount())) {
        auto* item = new QListWidgetItem(result.title(), m_searchResults);
        item->setData(kUrlRole, result.url());
    }
}

void HelpTopicWindow::OpenKeyword(const QModelIndex& index) {
    if (!m_engine)
        return;
    const QList<QHelpLink> documents =
        m_engine->documentsForKeyword(index.data(Qt::DisplayRole).toString(), QString());
    if (!documents.isEmpty())
        ShowPage(documents.constFirst().url);
}

void HelpTopicWindow::ShowPage(const QUrl& url) {
    m_browser->setSource(url);
}

void HelpTopicWindow::ShowPanel(Panel panel) {
    if (panel == Search && !m_searchIndexed && m_engine) {
        // The full-text index is built in the background on first use.
        m_engine->searchEngine()->reindexDocumentation();
        m_searchIndexed = true;
    }
    m_panels->setCurrentIndex(panel);
    if (panel == Search)
        m_searchInput->setFocus();
}

HelpTopicWindow::Panel HelpTopicWindow::CurrentPanel() const {
    return static_cast<Panel>(m_panels->currentIndex());
}

void HelpTopicWindow::Present() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpTopicWindow::OpenLink(const QUrl& url) {
    const QUrl target = m_browser->source().resolved(url);
    if (target.scheme() == QLatin1String("qthelp"))
        ShowPage(target);
    else
        QDesktopServices::openUrl(target);
}

} // namespace kelvane
