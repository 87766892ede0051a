#pragma once
// Writing a file so that it is either wholly the new bytes or left as it was.
#include <QByteArray>
#include <QString>

// Writes `data` to a new file beside `path` and puts it in the place of `path`
// in one step. On failure returns false with the system's reason in `reason`;
// a file already at `path` is then untouched and no temporary file is left.
bool WriteFileReplacing(const QString& path, const QByteArray& data, QString& reason);
