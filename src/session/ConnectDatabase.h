#pragma once
// Connecting to the database and checking its structure version, without a
// window: the outcome says whether the program is connected and what the
// clerk is to be told.
//
// The connection-error message names the kind of the error after "Ошибка: ":
//   "Ошибка сервера базы данных"  a refusal of the database engine (fb::DbError),
//   "Ошибка базы данных"          an error of the program's data layer (EDatabaseError),
//                                 also an empty database location (kind other than 1 or 2,
//                                 or an empty file name),
//   "Ошибка версии"               a version text that holds no version number,
//   "Ошибка программы"            anything else.
// When the version check itself fails (no P_VERSION, an error running it, a
// text without a version number) the connection is closed and the program
// stays unconnected with the same connection-error message. After any
// failure GL.Connected is false and the data module holds no connection.
#include "session/Global.h"
#include "session/Notice.h"

#include <QString>
#include <exception>

class TDM;

// The structure version this program is built for.
QString ProgramDBVersion();  // "1.1.6"

// The kind of an error as named in the connection-error message.
QString ConnectErrorKind(const std::exception_ptr& error);
// "При подключении к базе данных " + database + " произошла ошибка.\r\n\r\nОшибка: " + kind +
// "\r\nСообщение: " + message.
QString ConnectErrorText(const QString& database, const std::exception_ptr& error);
// What most likely went wrong when the database could not be opened, in
// Russian, for the clerk: the file does not exist, it cannot be read or
// written, another program holds it, the server does not answer, the path has
// characters the system's encoding cannot pass. Empty when nothing fits.
// `kind` is the connection kind (1 local file, 2 server), `message` the
// engine's own text.
QString ConnectFailureExplanation(int kind, const QString& localFile, const QString& server, const QString& message);
// True when the engine would not open a local database file because another
// process holds it open (another copy of the program, a server, a backup):
// the embedded engine opens a file for one process only.
bool IsDatabaseFileInUse(const std::exception_ptr& error);
// What the clerk is told then, instead of the engine's lock text:
// "База данных «" + file + "» открыта другой программой. Закройте ее и повторите подключение."
QString DatabaseInUseText(const QString& file);
// The two version-mismatch messages.
QString LowerVersionText(const QString& dbVersion);
QString HigherVersionText(const QString& dbVersion);

struct TConnectOutcome {
    bool connected = false;
    TNotice notice;  // nothing when connected
};

// Connects the data module to the database `options` name and checks the
// version; GL.Connected follows the outcome. A refused connection: Stop, the
// in-use text for a local file held elsewhere, else the connection-error
// message with the likely cause; a database of a lower version: Warning; of
// a higher one: Information.
TConnectOutcome ConnectAndCheckVersion(TDM& dm, const TMyApplicationOptions& options);

// Sets GL's current work period from the last row of the open cdsRPeriod
// (the highest ID); RPeriodID -1 when it has no rows.
void ChooseLatestPeriod();

// What follows a connection: the shared lookups opened, the latest work
// period taken, the organisation's parameters loaded. Returns GL.Connected.
// Errors while opening a lookup propagate to the caller.
bool OpenConnectedSession();
