// SPDX-License-Identifier: MIT
#include "ui/qt/help_language_models.h"

#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>

namespace kelvane {

QString HelpLanguageOf(const QUrl& url) {
    if (url.scheme() != QLatin1String("qthelp"))
        return {};
    // "/<virtual folder>/<language>/<page>"
    const QStringList parts = url.path().split(QLatin1Char('/'));
    return parts.size() > 3 ? parts.at(2) : QString();
}

void LanguageFilterModel::SetLanguage(const QString& language) {
    if (language == m_language)
        return;
    m_language = language;
    invalidateFilter();
}

ContentsInLanguage::ContentsInLanguage(QHelpContentModel& contents, QObject* parent)
    : LanguageFilterModel(parent), m_contents(&contents) {
    setSourceModel(&contents);
}

const QHelpContentItem* ContentsInLanguage::ItemAt(const QModelIndex& index) const {
    if (!m_contents || !index.isValid())
        return nullptr;
    return m_contents->contentItemAt(mapToSource(index));
}

QModelIndex ContentsInLanguage::IndexOf(const QUrl& url) const {
    return Find(url.adjusted(QUrl::RemoveFragment), QModelIndex());
}

QModelIndex ContentsInLanguage::Find(const QUrl& page, const QModelIndex& parent) const {
    for (int row = 0; row < rowCount(parent); ++row) {
        const QModelIndex entry = index(row, 0, parent);
        const QHelpContentItem* item = ItemAt(entry);
        if (item != nullptr && item->url().adjusted(QUrl::RemoveFragment) == page)
            return entry;
        if (const QModelIndex found = Find(page, entry); found.isValid())
            return found;
    }
    return {};
}

bool ContentsInLanguage::filterAcceptsRow(int row, const QModelIndex& parent) const {
    if (parent.isValid() || !m_contents)
        return true;
    const QHelpContentItem* item = m_contents->contentItemAt(m_contents->index(row, 0, parent));
    return item != nullptr && HelpLanguageOf(item->url()) == Language();
}

KeywordsInLanguage::KeywordsInLanguage(QHelpEngine& engine, QObject* parent)
    : LanguageFilterModel(parent), m_engine(&engine) {
    setSourceModel(engine.indexModel());
}

QUrl KeywordsInLanguage::PageOf(const QModelIndex& index) const {
    return PageOfKeyword(index.data(Qt::DisplayRole).toString());
}

QUrl KeywordsInLanguage::PageOfKeyword(const QString& keyword) const {
    if (!m_engine || keyword.isEmpty())
        return {};
    for (const QHelpLink& link : m_engine->documentsForKeyword(keyword, QString()))
        if (HelpLanguageOf(link.url) == Language())
            return link.url;
    return {};
}

bool KeywordsInLanguage::filterAcceptsRow(int row, const QModelIndex& parent) const {
    const QModelIndex keyword = sourceModel()->index(row, 0, parent);
    return !PageOfKeyword(keyword.data(Qt::DisplayRole).toString()).isEmpty();
}

} // namespace kelvane
