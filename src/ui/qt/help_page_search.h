// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>

class QHelpEngineCore;

namespace kelvane {

// Full-text search over the help file's pages. Qt's own index splits text
// into words at spaces and punctuation, so it finds no Japanese word inside
// a sentence; these pages are few, so each query looks for its words in the
// text of every page of the language instead.
class HelpPageSearch {
public:
    struct Hit {
        QUrl url;
        QString title;
    };

    explicit HelpPageSearch(QHelpEngineCore& engine);

    // Reads the pages; once, later calls do nothing.
    void Build();
    bool Built() const { return m_built; }

    // The pages of the language folder that hold every word of `query`
    // (split at white space; case and character width do not matter),
    // those with all words in the title first, then by how often the words
    // occur. Builds first when needed.
    QList<Hit> Find(const QString& query, const QString& language);

private:
    struct Page {
        QUrl url;
        QString language;
        QString title;
        QString foldedTitle;
        QString foldedText;
    };

    QPointer<QHelpEngineCore> m_engine;
    QList<Page> m_pages;
    bool m_built = false;
};

} // namespace kelvane
