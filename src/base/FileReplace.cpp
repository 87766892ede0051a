#include "base/FileReplace.h"

#include <QSaveFile>

bool WriteFileReplacing(const QString& path, const QByteArray& data, QString& reason) {
    QSaveFile f(path);
    // Never fall back to writing over the old file in place: a failure would cut it.
    f.setDirectWriteFallback(false);
    // Unbuffered, so a write the system refuses (a full disk, a size limit)
    // fails here. A buffered one would fail only while commit() flushes, and
    // commit() would still put the cut-off file in place of the old one.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(data) != data.size() || !f.flush()) {
        reason = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        reason = f.errorString();
        return false;
    }
    return true;
}
