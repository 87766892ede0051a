#include "base/HelpSearch.h"

#include "base/HelpFile.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

QString foldForSearch(const QString& text) {
    QString s = text.toLower();
    s.replace(QChar(0x0451), QChar(0x0435));  // ё -> е
    return s;
}

int countOf(const QString& haystack, const QString& word) {
    int n = 0;
    for (qsizetype at = haystack.indexOf(word); at >= 0; at = haystack.indexOf(word, at + word.size())) ++n;
    return n;
}

}  // namespace

QString htmlPlainText(const QString& html) {
    static const QRegularExpression hidden(QStringLiteral("<(script|style|title)[^>]*>.*?</\\1\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString s = html;
    s.remove(comment);
    s.remove(hidden);
    s.replace(tag, QStringLiteral(" "));
    return decodeHtmlEntities(s).simplified();
}

QList<HelpSearchHit> searchHelp(const ChmFile& file, const QString& query) {
    const QStringList words = foldForSearch(query).split(QRegularExpression(QStringLiteral("\\s+")),
                                                         Qt::SkipEmptyParts);
    QList<HelpSearchHit> hits;
    if (words.isEmpty() || !file.isOpen()) return hits;

    for (const QString& page : file.files()) {
        if (!page.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive) &&
            !page.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive))
            continue;
        const auto data = file.read(page);
        if (!data) continue;
        const QString html = decodeHtml(*data);
        const QString title = htmlTitle(html);
        const QString foldedTitle = foldForSearch(title);
        const QString body = foldForSearch(htmlPlainText(html));
        int score = 0;
        bool all = true;
        for (const QString& w : words) {
            const int inTitle = countOf(foldedTitle, w);
            const int inBody = countOf(body, w);
            if (inTitle + inBody == 0) {
                all = false;
                break;
            }
            score += inTitle * 10 + inBody;
        }
        if (all) hits.append(HelpSearchHit{page, title.isEmpty() ? page.mid(1) : title, score});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const HelpSearchHit& a, const HelpSearchHit& b) {
        if (a.score != b.score) return a.score > b.score;
        return a.title.localeAwareCompare(b.title) < 0;
    });
    return hits;
}
