#pragma once
// The commands of a book's window as a table: each command's objectName, its
// caption (which is also its hint), short-cuts, icon, and when it is enabled
// or shown; the toolbar's order. The flat and the tree book make their
// QActions and their toolbar from these, the tree book adding its groups'
// commands and views.
#include <QList>
#include <QString>
#include <QStringList>

namespace books {

struct BookAction {
    QString objectName;
    QString caption;
    QStringList keys;        // short-cuts in portable text: "Ins", "Ctrl+Return"
    QString icon;            // the style's standard pixmap by its name: "SP_FileIcon"
    bool needsRows = false;  // enabled only on a current row
    bool checkable = false;
    bool checked = false;
    bool view = false;       // one of the tree book's exclusive views
    bool hidden = false;     // shown by a caller that wants a choice
    bool gridKey = false;    // the short-cut belongs to the grid, not to a search field
};

// The commands of a flat book (Ctrl+Del deletes) or a tree book (Del deletes,
// and the groups' commands and the two views come first).
QList<BookAction> BookActions(bool tree);
// The sort order button beside the commands.
BookAction SortButton();
// The toolbar's objectName and its items in order: command names, "-" a
// separator, the sort button by its name.
QString BookToolbarName(bool tree);
QStringList BookToolbar(bool tree);

}  // namespace books
