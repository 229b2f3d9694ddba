// SPDX-License-Identifier: MIT
#include "ui/qt/qt_help_viewer.h"

#include "platform/text/code_page.h"
#include "res/string_table.h"
#include "ui/context_help.h"
#include "ui/qt/help_topic_window.h"
#include "ui/qt/text_popup.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>
#include <QTemporaryDir>

namespace kelvane {
namespace {

// The folder the help project puts its files in (its virtualFolder).
constexpr const char* kVirtualFolder = "kelvane";
constexpr const char* kContentsPage = "index.html";

QStringList LanguagesToTry() {
    if (CurrentResourceLanguage() == ResourceLanguage::Japanese)
        return {QStringLiteral("ja"), QStringLiteral("en")};
    return {QStringLiteral("en")};
}

QString Identifier(const QString& language, uint32_t contextId) {
    return language + QStringLiteral(".0x") + QString::number(contextId, 16);
}

} // namespace

QtHelpViewer::QtHelpViewer() = default;

QtHelpViewer::~QtHelpViewer() {
    // The windows use the engine; they go first.
    delete m_popup.data();
    delete m_window.data();
}

bool QtHelpViewer::Load(const std::string& helpFile) {
    if (m_engine)
        return true;
    const QString documentation =
        QFile::decodeName(QByteArray::fromStdString(NativePath(helpFile)));
    if (!QFileInfo(documentation).isFile())
        return false;
    const QString documentationNamespace = QHelpEngineCore::namespaceName(documentation);
    if (documentationNamespace.isEmpty())
        return false;
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid())
        return false;
    auto engine = std::make_unique<QHelpEngine>(folder->filePath(QStringLiteral("kelvane.qhc")));
    engine->setReadOnly(false);
    if (!engine->setupData() || !engine->registerDocumentation(documentation)) {
        qWarning().noquote() << "Help file" << documentation
                             << "cannot be used:" << engine->error();
        return false;
    }
    m_collectionFolder = std::move(folder);
    m_engine = std::move(engine);
    m_namespace = documentationNamespace;
    return true;
}

QUrl QtHelpViewer::FileUrl(const QString& language, const QString& file) const {
    QUrl url;
    url.setScheme(QStringLiteral("qthelp"));
    url.setHost(m_namespace);
    url.setPath(QLatin1Char('/') + QLatin1String(kVirtualFolder) + QLatin1Char('/') + language +
                QLatin1Char('/') + file);
    return url;
}

QUrl QtHelpViewer::TopicUrl(uint32_t contextId) const {
    if (!m_engine)
        return {};
    for (const QString& language : LanguagesToTry()) {
        const QList<QHelpLink> links =
            m_engine->documentsForIdentifier(Identifier(language, contextId), QString());
        if (!links.isEmpty())
            return links.constFirst().url;
    }
    return {};
}

std::optional<QString> QtHelpViewer::PopupText(const QString& popupFile, uint32_t topicId) const {
    if (!m_engine)
        return std::nullopt;
    for (const QString& language : LanguagesToTry()) {
        const QByteArray file = m_engine->fileData(FileUrl(language, popupFile));
        const std::optional<std::string> text = FindTextPopup(
            std::string_view(file.constData(), static_cast<size_t>(file.size())), topicId);
        if (text && !text->empty())
            return QString::fromStdString(*text);
    }
    return std::nullopt;
}

QUrl QtHelpViewer::ContentsPage() const {
    for (const QString& language : LanguagesToTry()) {
        const QUrl page = FileUrl(language, QLatin1String(kContentsPage));
        if (!m_engine->fileData(page).isEmpty())
            return page;
    }
    return {};
}

HelpTopicWindow& QtHelpViewer::Window() {
    if (!m_window)
        m_window = new HelpTopicWindow(*m_engine, m_owner);
    m_window->SetLanguage(LanguagesToTry().constFirst());
    m_window->SetHomePage(ContentsPage());
    return *m_window;
}

bool QtHelpViewer::ShowTopic(uint32_t contextId) {
    const QUrl url = TopicUrl(contextId);
    if (url.isEmpty())
        return false;
    HelpTopicWindow& window = Window();
    window.ShowPage(url);
    window.Present();
    return true;
}

bool QtHelpViewer::ShowPopup(const HelpPopupRequest& request) {
    const std::optional<QString> text =
        PopupText(QString::fromStdString(request.popupFile), request.topicId);
    if (!text)
        return false;
    delete m_popup.data();
    m_popup = new TextPopup(
        *text, FromHelpColor(request.textColor), FromHelpColor(request.backgroundColor),
        QMargins(request.marginLeft, request.marginTop, request.marginRight, request.marginBottom));
    m_popup->ShowAt(QPoint(request.position.x, request.position.y));
    return true;
}

bool QtHelpViewer::ShowContents() {
    if (!m_engine)
        return false;
    HelpTopicWindow& window = Window();
    window.ShowPanel(HelpTopicWindow::Contents);
    if (const QUrl page = ContentsPage(); !page.isEmpty())
        window.ShowPage(page);
    window.Present();
    return true;
}

bool QtHelpViewer::ShowIndex() {
    return ShowPanel(HelpTopicWindow::Index);
}

bool QtHelpViewer::ShowSearch() {
    return ShowPanel(HelpTopicWindow::Search);
}

bool QtHelpViewer::ShowPanel(HelpTopicWindow::Panel panel) {
    if (!m_engine)
        return false;
    Window().ShowPanel(panel);
    Window().Present();
    return true;
}

} // namespace kelvane
