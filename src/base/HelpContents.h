#pragma once
// What the help window shows beside a page, without widgets: the pages'
// addresses inside the window, the start page, the table of contents with the
// entry that stands for each page, the sorted keyword index, where a link
// leads, and the page shown for one the file does not hold.
#include "base/HelpFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <utility>

// Inside the window a page is the URL "chm:/<path>", so that relative links
// of the pages resolve as they do in the file.
QUrl helpPageUrl(const QString& page, const QString& fragment = {});
bool isHelpPageUrl(const QUrl& url);

// Page and anchor of an entry of the contents or the index ("a.htm#x").
std::pair<QString, QString> splitHelpLocal(const QString& local);
// The key a page is found by: "/" + page, backslashes made slashes, lower case.
QString helpPageKey(const QString& page);

// The page a file opens on: its default topic when stored, else
// "/index.htm" when stored, else its first HTML page.
QString helpStartPage(const ChmFile& file);

// Shown in place of a page that the file does not hold.
QString missingHelpPageHtml(const QString& page);

// What the window asks of the file: the decoded page (the missing-page text
// when absent), a style sheet's text, or any other resource's bytes (nothing
// when absent).
enum class HelpResourceKind { Page, StyleSheet, Other };
QVariant readHelpResource(const ChmFile* file, const QString& path, HelpResourceKind kind);

// The file's table of contents (empty when it has none) and, for every page
// it names, the path of child indexes to the first entry naming it.
struct HelpContents {
    QList<HelpTopic> topics;
    QHash<QString, QList<int>> entryOfPage;  // helpPageKey(page) -> indexes from the top
};
HelpContents readHelpContents(const ChmFile& file);

// One line of the keyword index: the name indented four blanks a level.
struct HelpIndexLine {
    QString text;
    QString local;
};
// The file's keyword index, top-level entries in alphabetical order, each
// followed by its sub-entries.
QList<HelpIndexLine> readHelpIndex(const ChmFile& file);
// The first line whose text begins with what was typed (blanks around it and
// letter case ignored); -1 when none or nothing was typed.
int findHelpIndexLine(const QList<HelpIndexLine>& lines, const QString& typed);

// Where a link of a page leads, once resolved against the page.
enum class HelpLinkTarget { Page, HelpAddress, Outside };
HelpLinkTarget helpLinkTarget(const QUrl& resolved);
