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
