// SPDX-License-Identifier: MIT
#include "ui/qt/help_page_search.h"

#include "ui/qt/help_language_models.h"

#include <QHelpEngineCore>
#include <QTextDocument>

#include <algorithm>

namespace kelvane {
namespace {

// Full-width letters, half-width kana and letter case all compare alike.
QString Folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

} // namespace

HelpPageSearch::HelpPageSearch(QHelpEngineCore& engine) : m_engine(&engine) {}

void HelpPageSearch::Build() {
    if (m_built || !m_engine)
        return;
    m_built = true;
    for (const QString& documentation : m_engine->registeredDocumentations()) {
        for (const QUrl& url : m_engine->files(documentation, QString(), QStringLiteral("html"))) {
            QTextDocument page;
            page.setHtml(QString::fromUtf8(m_engine->fileData(url)));
            const QString title = page.metaInformation(QTextDocument::DocumentTitle);
            m_pages.append(
                {url, HelpLanguageOf(url), title, Folded(title), Folded(page.toPlainText())});
        }
    }
}

QList<HelpPageSearch::Hit> HelpPageSearch::Find(const QString& query, const QString& language) {
    Build();
    const QStringList words =
        Folded(query).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    struct Scored {
        const Page* page;
        bool inTitle;
        qsizetype occurrences;
    };
    std::vector<Scored> found;
    if (words.isEmpty())
        return {};
    for (const Page& page : m_pages) {
        if (page.language != language)
            continue;
        bool all = true;
        bool inTitle = true;
        qsizetype occurrences = 0;
        for (const QString& word : words) {
            const qsizetype count = page.foldedText.count(word) + page.foldedTitle.count(word);
            all = all && count > 0;
            inTitle = inTitle && page.foldedTitle.contains(word);
            occurrences += count;
        }
        if (all)
            found.push_back({&page, inTitle, occurrences});
    }
    std::stable_sort(found.begin(), found.end(), [](const Scored& a, const Scored& b) {
        if (a.inTitle != b.inTitle)
            return a.inTitle;
        return a.occurrences > b.occurrences;
    });
    QList<Hit> hits;
    for (const Scored& scored : found)
        hits.append({scored.page->url, scored.page->title});
    return hits;
}

} // namespace kelvane
