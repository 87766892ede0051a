#pragma once
// Searching the pages of the help file for words.
#include <QList>
#include <QString>

class ChmFile;

struct HelpSearchHit {
    QString page;   // "/_books_zakazch.htm"
    QString title;  // the page's <title>
    int score = 0;  // occurrences of the words, a word in the title counting more
};

// The visible text of a page: tags, scripts and styles removed, character
// references resolved, blanks collapsed.
QString htmlPlainText(const QString& html);

// Pages whose title or text holds every word of the query (ignoring letter
// case and the difference between "е" and "ё"; a word also matches inside a
// longer one, so "заказ" finds "заказчик"), best first. Empty for a query
// without words.
QList<HelpSearchHit> searchHelp(const ChmFile& file, const QString& query);
