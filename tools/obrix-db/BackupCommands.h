#pragma once
// obrix-db backup and restore: the engine's own backup, with the checks that
// keep a working database safe.
#include <QString>
#include <QTextStream>

namespace obrixdb {

struct BackupOptions {
    bool verbose = false;  // the engine's lines go to the output as they come
};

// obrix-db backup DATABASE FILE; a failed run leaves an earlier local backup
// of that name as it was. Returns the exit code; Russian messages on `err`.
int runBackup(const QString& database, const QString& file, const BackupOptions& options, QTextStream& out,
              QTextStream& err);

// obrix-db restore FILE DATABASE [--replace]. Refuses a database that exists
// (unless `replace`) and one that is in use (always); checks the restored
// structure version against the program's and keeps the restored database only
// when they match. A local database is restored beside its place and moved
// there at the end, so a failure leaves the old one untouched.
int runRestore(const QString& file, const QString& database, bool replace, const BackupOptions& options,
               QTextStream& out, QTextStream& err);

// The structure version the program creates and works with ("1.1.6").
QString programStructureVersion();

}  // namespace obrixdb
