// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QSortFilterProxyModel>
#include <QString>
#include <QUrl>

class QHelpContentItem;
class QHelpContentModel;
class QHelpEngine;

namespace kelvane {

// The language folder of a page of the help file ("en" for
// qthelp://<namespace>/<virtual folder>/en/index.html); empty for others.
QString HelpLanguageOf(const QUrl& url);

// The help file holds its pages once per language folder; these views of
// the engine's models keep to one folder, so that each language lists only
// its own contents and keywords.
class LanguageFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetLanguage(const QString& language);
    const QString& Language() const { return m_language; }

private:
    QString m_language;
};

// The contents tree: the top-level entries of the language, with all
// that is under them.
class ContentsInLanguage : public LanguageFilterModel {
    Q_OBJECT

public:
    ContentsInLanguage(QHelpContentModel& contents, QObject* parent);

    // The entry at an index of this model; null when there is none.
    const QHelpContentItem* ItemAt(const QModelIndex& index) const;
    // The first entry for the page `url` (its fragment aside); invalid when none.
    QModelIndex IndexOf(const QUrl& url) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QModelIndex Find(const QUrl& page, const QModelIndex& parent) const;

    QPointer<QHelpContentModel> m_contents;
};

// The index: the keywords that lead to a page of the language.
class KeywordsInLanguage : public LanguageFilterModel {
    Q_OBJECT

public:
    KeywordsInLanguage(QHelpEngine& engine, QObject* parent);

    // The keyword's page in the language; empty when it has none.
    QUrl PageOf(const QModelIndex& index) const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QUrl PageOfKeyword(const QString& keyword) const;

    QPointer<QHelpEngine> m_engine;
};

} // namespace kelvane
