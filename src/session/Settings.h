#pragma once
// The workstation's settings file: an INI text beside the executable (same
// folder, same base name, extension ".ini") with the sections Database, Misc
// and MainForm. Every write goes to disk at once. Missing file or key: the
// default. One "key=value" a line; lines may end in CR LF, LF or CR alone.
// Values are taken as written (a Windows path keeps its backslashes).
// A file whose bytes are not valid UTF-8 is read as Windows-1251 and written
// back in it; a new file is UTF-8. A write changes one line and puts every
// other byte back as it was (unknown sections, keys, comments, line ends),
// through QSaveFile. Only a regular file up to 1 MB is taken: anything else
// (a device, a pipe, a folder, a huge file) is said once and the program
// works with the defaults without touching it. A folder that cannot be
// written leaves the file as it was. No widgets here: what the user must be
// told goes to the reporter the program installs (a message box).
#include "session/Global.h"

#include <QString>

#include <functional>

namespace settings {

// A file that is not taken or cannot be written is said once through this
// reporter (the program shows it in a warning box); without one it goes to
// the standard error stream.
void setProblemReporter(std::function<void(const QString&)> reporter);
void reportProblem(const QString& text);

// The executable's path with ".ini", or the path set for tests.
QString filePath();
// Uses another file (tests); an empty path returns to the one beside the executable.
void setFilePath(const QString& path);

// One value of the file. Keys and sections are found ignoring case.
QString readString(const QString& section, const QString& key, const QString& def = QString());
int readInteger(const QString& section, const QString& key, int def);
// 1/0 as written; any other number counts as true, anything else gives the default.
bool readBool(const QString& section, const QString& key, bool def);
// Writes one value and flushes the file; other sections and keys are kept.
void writeString(const QString& section, const QString& key, const QString& value);
void writeInteger(const QString& section, const QString& key, int value);
void writeBool(const QString& section, const QString& key, bool value);

// The main window's rectangle and state as kept in [MainForm].
struct Placement {
    int Left = 100;
    int Top = 100;
    int Width = 600;
    int Height = 400;
    QString WindowState = QStringLiteral("wsNormal");  // "wsMaximized" or "wsNormal"
};
Placement readPlacement();
void writePlacement(const Placement& p);

}  // namespace settings

// Reads every workstation setting of the file into `options` (DB_ConnectKind
// default 1, DB_Port default "3052", MS_ShowHintMes default true, texts empty).
void ReadAppOptions(TMyApplicationOptions& options);
// Writes the [Database] keys from `options` (ConnectKind as held) and flushes.
void WriteAppOptions(const TMyApplicationOptions& options);
// At program end: MS_ShowHintMes from AppOptions.ShowHintMes, flushed.
void WriteShowHintMes();

// The database string the connection uses: kind 1 the local file name as it
// is, kind 2 Server + "/" + Port + ":" + ServerDBName, any other kind empty.
QString DatabaseString(const TMyApplicationOptions& options);
