#pragma once
// SQL scripts as the database folder keeps them: statements ending with the
// current terminator, "SET TERM" to change it, "--" and "/* */" comments.
#include <QString>
#include <QStringList>

namespace fb { class Attachment; }

namespace obrixdb {

// Splits a script into statements without their terminators. Terminators inside
// string literals, quoted identifiers and comments do not count; "SET TERM x"
// changes the terminator and yields no statement; comments before a statement
// are dropped, comments inside it are kept (a procedure keeps them in its source).
// Throws std::invalid_argument for a string literal or comment left open.
QStringList splitScript(const QString& script);

// Runs each statement of the script as it is (no parameter markers are looked for,
// so ":X" in procedure bodies stays untouched). With `oneTransaction` all statements
// run in one transaction committed at the end, else each one is committed on its own
// (what definitions need before data can use them). Throws fb::DbError.
void runScript(fb::Attachment& att, const QString& script, bool oneTransaction);

// One statement executed as it is, in its own committed transaction.
void executeRaw(fb::Attachment& att, const QString& sql);

}  // namespace obrixdb
