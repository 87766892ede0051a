#pragma once
// Helpers of the backup tests: obrix-db run as the user runs it, and every
// user table of a database read whole for comparison.
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QMap>
#include <QProcess>
#include <QStringList>

#include <algorithm>

namespace backuptest {

struct ToolRun {
    int code = -1;
    QString out, err;
};

// obrix-db with the arguments; waits for its end.
inline ToolRun obrixDb(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(OBRIX_DB_TOOL), args);
    p.waitForFinished(300000);
    ToolRun r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Table name -> its rows as text, sorted; every user table of the database.
inline QMap<QString, QStringList> allRows(const QString& database) {
    fb::Attachment att(database);
    fb::Transaction tra(att);
    QStringList tables;
    {
        fb::Statement s(tra, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL"));
        s.execute();
        while (s.fetch()) tables << s.value(0).toString();
    }
    QMap<QString, QStringList> rows;
    for (const QString& table : tables) {
        fb::Statement s(tra, QStringLiteral("SELECT * FROM \"%1\"").arg(table));
        s.execute();
        QStringList list;
        while (s.fetch()) {
            QStringList cells;
            for (int i = 0; i < s.columnCount(); ++i)
                cells << (s.value(i).isNull() ? QStringLiteral("<null>") : s.value(i).toString());
            list << cells.join(QLatin1Char('|'));
        }
        std::sort(list.begin(), list.end());
        rows.insert(table, list);
    }
    tra.commit();
    return rows;
}

inline qint64 count(const QString& database, const QString& table) {
    fb::Attachment att(database);
    fb::Transaction tra(att);
    const qint64 n = fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
    tra.commit();
    return n;
}

inline void execute(const QString& database, const QString& sql) {
    fb::Attachment att(database);
    att.executeImmediate(sql);
}

}  // namespace backuptest
