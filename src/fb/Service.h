#pragma once
// Backup and restore through the engine's own service manager: the embedded
// engine's for a local file, the server's for "host[/port]:path". For a
// database on a server every file named here (the database and the backup
// file) is a path on the server's machine, read and written by the server.
#include <QString>

#include <functional>
#include <stdexcept>

namespace fb {

class DbError;

// "service_mgr" for a local database, "host[/port]:service_mgr" for a server.
QString serviceManagerFor(const QString& database);
// The database as the service manager names it: the path alone for a server
// database ("srv/3052:/data/a.fdb" -> "/data/a.fdb"), unchanged for a local one.
QString pathForService(const QString& database);

// Each line of the engine's output as it comes.
using ServiceLines = std::function<void(const QString& line)>;
// Asked about once a second while a backup runs: true breaks it off.
using ServiceStop = std::function<bool()>;

// Thrown when the stop question said yes and the engine's work was broken off
// (the engine removes the unfinished backup file itself).
class ServiceCancelled : public std::runtime_error {
public:
    ServiceCancelled() : std::runtime_error("cancelled") {}
};

// Writes a backup of `database` into `backupFile`. For a local database the
// file is written under a passing name beside it and takes its name only when
// whole: a failed or stopped backup leaves an earlier file of that name as it
// was (a server writes its file itself, in place). Throws DbError with the
// engine's status when the engine refuses or fails, ServiceCancelled when
// `stop` said yes, std::runtime_error (a Russian text) when the finished file
// cannot take its name. To break the work off, the engine's own connection to
// the database is ended (as a server administrator ends a connection), so a
// backup that can be stopped opens one connection of its own beside it.
void backupDatabase(const QString& database, const QString& backupFile, const ServiceLines& lines = {},
                    const ServiceStop& stop = {});

// A backup of `database` written to `localFile` on this computer, whether the
// database is local or on a server (the server sends the backup over the
// connection; `received` is told the bytes so far). The same passing name,
// stop and errors as backupDatabase.
void backupDatabaseHere(const QString& database, const QString& localFile,
                        const std::function<void(qint64 bytes)>& received = {}, const ServiceStop& stop = {});

// Makes `database` from `backupFile`. Without `replace` the engine refuses a
// database that exists; with it the engine replaces one no one has open. The
// engine holds a database being restored alone, so a restore runs to its end.
void restoreDatabase(const QString& backupFile, const QString& database, bool replace,
                     const ServiceLines& lines = {});

// Which work a refusal came from, for its explanation.
enum class ServiceWork { Backup, Restore };

// A Russian explanation of the engine's refusal of a backup or a restore,
// naming the database or the backup file it concerns, followed by the
// engine's own text on a line of its own ("\n").
QString serviceFailureText(const DbError& error, ServiceWork work, const QString& database,
                           const QString& backupFile);

// Whether the refusal says the database is open elsewhere.
bool isDatabaseInUse(const DbError& error);

// Removes a database no one has open, through the engine (for a server
// database the file on the server). Throws DbError.
void dropDatabase(const QString& database);

}  // namespace fb
