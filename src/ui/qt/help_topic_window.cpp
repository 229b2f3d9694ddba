// SPDX-License-Identifier: MIT
#include "ui/qt/help_topic_window.h"

#include "platform/qt/qt_text.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "ui/qt/help_browser.h"
#include "ui/qt/help_language_models.h"
#include "ui/qt/window_placement.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

namespace kelvane {
namespace {

QString UiText(unsigned id) {
    return ToQString(LoadResourceString(id));
}

constexpr int kUrlRole = Qt::UserRole + 1;
constexpr QSize kPreferredSize(820, 560);
// Smaller than this beside the owner, the window rather covers part of it.
constexpr QSize kSmallestBeside(480, 320);

// The frame a window manager draws around `window`; none before it is shown.
QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    return QMargins(inside.left() - frame.left(), inside.top() - frame.top(),
                    frame.right() - inside.right(), frame.bottom() - inside.bottom());
}

bool SamePage(const QUrl& a, const QUrl& b) {
    return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
}

} // namespace

HelpTopicWindow::HelpTopicWindow(QHelpEngine& engine, QWidget* owner)
    : QWidget(owner, Qt::Window), m_engine(&engine), m_search(engine) {
    setWindowTitle(UiText(IDS_HELP_WINDOW_TITLE));
    resize(kPreferredSize);

    m_browser = new HelpBrowser(engine, this);
    // Links are followed here so that only the help file's own pages open
    // inside the window.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpTopicWindow::OpenLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& page) {
        if (!m_browser->documentTitle().isEmpty())
            setWindowTitle(m_browser->documentTitle());
        FollowPageInContents(page);
        // source() still names the page before while this signal runs.
        UpdateHome(page);
    });

    m_panels = new QTabWidget(this);
    m_contents = new QTreeView(m_panels);
    m_contentsModel = new ContentsInLanguage(*engine.contentModel(), this);
    m_contents->setModel(m_contentsModel);
    m_contents->header()->hide();
    m_contents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_panels->addTab(m_contents, UiText(IDS_HELP_CONTENTS));
    connect(m_contents, &QTreeView::clicked, this, &HelpTopicWindow::OpenContentsEntry);
    connect(m_contents, &QTreeView::activated, this, &HelpTopicWindow::OpenContentsEntry);
    // The engine fills its contents in the background, and a new language
    // refills the view: either way the entry of the page shown is selected.
    const auto contentsRefilled = [this] {
        m_contents->expandAll();
        FollowPageInContents(m_browser->source());
    };
    connect(m_contentsModel, &QAbstractItemModel::modelReset, this, contentsRefilled);
    connect(m_contentsModel, &QAbstractItemModel::rowsInserted, this, contentsRefilled);

    m_index = new QListView(m_panels);
    m_indexModel = new KeywordsInLanguage(engine, this);
    m_index->setModel(m_indexModel);
    m_index->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_panels->addTab(m_index, UiText(IDS_HELP_INDEX));
    // One click opens an entry, as in the contents; so do Enter and a double click.
    const auto openKeyword = [this](const QModelIndex& index) {
        if (const QUrl page = m_indexModel->PageOf(index); !page.isEmpty())
            ShowPage(page);
    };
    connect(m_index, &QListView::clicked, this, openKeyword);
    connect(m_index, &QListView::activated, this, openKeyword);

    m_panels->addTab(MakeSearchPanel(), UiText(IDS_HELP_SEARCH));
    // The pages are read for the search when its tab is first shown.
    connect(m_panels, &QTabWidget::currentChanged, this, [this](int panel) {
        if (panel == Search)
            m_search.Build();
    });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_panels);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 600});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeToolBar());
    layout->addWidget(splitter, 1);

    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

void HelpTopicWindow::SetLanguage(const QString& language) {
    if (language == m_contentsModel->Language())
        return;
    m_contentsModel->SetLanguage(language);
    m_indexModel->SetLanguage(language);
    m_searchResults->clear();
    m_searchMessage->hide();
}

void HelpTopicWindow::SetHomePage(const QUrl& url) {
    m_homePage = url;
    UpdateHome(m_browser->source());
}

QWidget* HelpTopicWindow::MakeToolBar() {
    auto* bar = new QToolBar(this);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto add = [this, bar](QStyle::StandardPixmap picture, unsigned text, Qt::Key key) {
        QAction* action = bar->addAction(style()->standardIcon(picture), UiText(text));
        action->setShortcut(QKeySequence(Qt::ALT | key));
        action->setToolTip(action->text() + QStringLiteral(" (") +
                           action->shortcut().toString(QKeySequence::NativeText) +
                           QLatin1Char(')'));
        return action;
    };
    m_back = add(QStyle::SP_ArrowBack, IDS_HELP_BACK, Qt::Key_Left);
    m_forward = add(QStyle::SP_ArrowForward, IDS_HELP_FORWARD, Qt::Key_Right);
    m_home = add(QStyle::SP_DirHomeIcon, IDS_HELP_HOME, Qt::Key_Home);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_home->setEnabled(false);
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, [this] { ShowPage(m_homePage); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    return bar;
}

void HelpTopicWindow::UpdateHome(const QUrl& shown) {
    m_home->setEnabled(!m_homePage.isEmpty() && !SamePage(m_homePage, shown));
}

QWidget* HelpTopicWindow::MakeSearchPanel() {
    auto* panel = new QWidget(m_panels);
    m_searchInput = new QLineEdit(panel);
    m_searchResults = new QListWidget(panel);
    m_searchMessage = new QLabel(panel);
    m_searchMessage->setWordWrap(true);
    m_searchMessage->hide();
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(m_searchInput);
    layout->addWidget(m_searchMessage);
    layout->addWidget(m_searchResults, 1);
    connect(m_searchInput, &QLineEdit::returnPressed, this, &HelpTopicWindow::RunSearch);
    const auto openHit = [this](QListWidgetItem* item) { ShowPage(item->data(kUrlRole).toUrl()); };
    connect(m_searchResults, &QListWidget::itemClicked, this, openHit);
    connect(m_searchResults, &QListWidget::itemActivated, this, openHit);
    return panel;
}

void HelpTopicWindow::RunSearch() {
    m_searchResults->clear();
    const QList<HelpPageSearch::Hit> hits =
        m_search.Find(m_searchInput->text(), m_contentsModel->Language());
    for (const HelpPageSearch::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, m_searchResults);
        item->setData(kUrlRole, hit.url);
    }
    // A blank query is no search and gets no answer.
    m_searchMessage->setText(UiText(IDS_HELP_NO_TOPICS_FOUND));
    m_searchMessage->setVisible(hits.isEmpty() && !m_searchInput->text().trimmed().isEmpty());
}

void HelpTopicWindow::OpenContentsEntry(const QModelIndex& index) {
    if (const QHelpContentItem* item = m_contentsModel->ItemAt(index))
        ShowPage(item->url());
}

void HelpTopicWindow::FollowPageInContents(const QUrl& page) {
    const QModelIndex entry = m_contentsModel->IndexOf(page);
    if (!entry.isValid()) {
        m_contents->clearSelection();
        return;
    }
    m_contents->setCurrentIndex(entry);
    m_contents->scrollTo(entry);
}

void HelpTopicWindow::ShowPage(const QUrl& url) {
    // The same page again keeps its place, as a click on its own entry should.
    if (url != m_browser->source())
        m_browser->setSource(url);
}

void HelpTopicWindow::ShowPanel(Panel panel) {
    m_panels->setCurrentIndex(panel);
    if (panel == Search)
        m_searchInput->setFocus();
}

HelpTopicWindow::Panel HelpTopicWindow::CurrentPanel() const {
    return static_cast<Panel>(m_panels->currentIndex());
}

void HelpTopicWindow::Present() {
    const QWidget* owner = parentWidget();
    // Not shown yet, this window's frame is unknown; the owner's is the
    // best guess at it.
    const QMargins frame = m_placed || owner == nullptr ? FrameOf(*this) : FrameOf(*owner);
    if (!m_placed)
        PlaceBesideOwner();
    m_placed = true;
    KeepOnScreen(frame);
    m_fitWhenExposed = !isVisible() || isMinimized();
    if (isMinimized())
        showNormal();
    else
        show();
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
    FitOnceExposed();
    raise();
    activateWindow();
}

bool HelpTopicWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle())
        FitOnceExposed();
    return QWidget::eventFilter(watched, event);
}

void HelpTopicWindow::FitOnceExposed() {
    // The window manager may frame the window otherwise than guessed, or
    // put it elsewhere: once it is up, its real frame is kept on the screen.
    if (!m_fitWhenExposed || windowHandle() == nullptr || !windowHandle()->isExposed())
        return;
    m_fitWhenExposed = false;
    KeepOnScreen(FrameOf(*this));
}

void HelpTopicWindow::KeepOnScreen(const QMargins& frame) {
    // pos() is the frame's corner, also when the window is not shown yet.
    const QRect framed(pos(), size().grownBy(frame));
    const QScreen* screen = QGuiApplication::screenAt(framed.center());
    if (screen == nullptr)
        screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    if (area.contains(framed))
        return;
    const QRect kept = KeptWithin(framed, area);
    resize(kept.size().shrunkBy(frame));
    move(kept.topLeft());
}

void HelpTopicWindow::PlaceBesideOwner() {
    const QWidget* owner = parentWidget();
    if (owner == nullptr || !owner->isVisible())
        return;
    const QScreen* screen = owner->screen();
    if (screen == nullptr)
        return;
    const QMargins frame = FrameOf(*owner);
    const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QRect placed = PlacedBeside(owner->frameGeometry(), size() + extra,
                                      kSmallestBeside + extra, screen->availableGeometry());
    resize(placed.size() - extra);
    move(placed.topLeft());
}

void HelpTopicWindow::OpenLink(const QUrl& url) {
    const QUrl target = m_browser->source().resolved(url);
    if (target.scheme() == QLatin1String("qthelp"))
        ShowPage(target);
    else
        QDesktopServices::openUrl(target);
}

} // namespace kelvane
