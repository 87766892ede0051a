#pragma once
// Which commands of the main window may run: a pure function of the
// connection, the selected tab, whether its journal has rows and the rights
// of the operator. The main window applies the result whenever it is idle.
#include "session/Global.h"

#include <QHash>
#include <QString>
#include <QStringList>

enum class TJournalTab { Docu = 0, Docs = 1 };

// Commands whose state follows the rules below.
const QStringList& RuledCommands();
// Commands that are always enabled.
const QStringList& AlwaysEnabledCommands();

// objectName of the action -> enabled, for every command of both lists.
QHash<QString, bool> CommandEnabling(bool connected, TJournalTab tab, bool journalEmpty, const TGL& gl);

// The journal a tab of the main window shows: the second tab the stock
// documents, any other the service orders.
TJournalTab JournalTabOfIndex(int index);
// The editor that opens a document of that journal ("frmDocu", "frmDocs").
QString DocumentEditorWindow(TJournalTab tab);
// The kind list a new document is chosen from (TYPEDOC 1 orders, 2 stock).
int NewDocumentTypeDoc(TJournalTab tab);
// The column that takes the grid's free width: the customer, or the order a
// stock document is based on, so that the totals at the right stay in view.
QString JournalStretchField(TJournalTab tab);
