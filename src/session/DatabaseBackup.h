#pragma once
// The administrator's backup of the working database, without a window: who
// may make it, the file offered, the engine's work with its progress lines
// and a stop, and what the clerk is told afterwards.
#include "session/Global.h"
#include "session/Notice.h"

#include <QString>

#include <atomic>
#include <functional>

class QDate;

// The command is the administrator's: connected and allowed the operator book.
bool BackupCommandEnabled(bool connected, const TGL& gl);
// Said when someone else asks for it.
QString BackupRefusalText();  // "Резервную копию делает администратор."

// The file offered in the save dialog: "obrix-<date>.fbk" in the database's
// folder for a local database, in the user's home folder otherwise.
QString SuggestedBackupFile(const QString& database, const QDate& day);
// The file chosen, with ".fbk" added when it has no extension.
QString BackupTargetFile(const QString& chosen);
// The progress window's heading: "Резервная копия базы данных <db>\rв файл <file>".
QString BackupJobText(const QString& database, const QString& file);

enum class TBackupOutcome { None, Done, Failed, Cancelled };

struct TBackupResult {
    TBackupOutcome outcome = TBackupOutcome::None;
    QString failure;  // the reason of a failure, in Russian ("\r" between lines)
};

// Runs the engine's backup of `database` into `file` (a file on this
// computer): the engine's lines for a local database, how much has come for
// one on a server, each told to `line`; `stop` set breaks the work off. May
// run on a thread of its own; never throws.
TBackupResult RunDatabaseBackup(const QString& database, const QString& file,
                                const std::function<void(const QString&)>& line, const std::atomic_bool& stop);

// What the clerk is told after the work: where the copy is, that it was
// stopped (and an earlier file of that name kept, when there was one), or why
// it failed. Nothing for None.
TNotice BackupResultNotice(const TBackupResult& result, const QString& file, bool fileExisted);
