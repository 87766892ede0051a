#include "BackupCommands.h"

#include "base/RoutsFormat.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Service.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace obrixdb {

namespace {

QString seconds(const QElapsedTimer& t) { return QString::number(t.elapsed() / 1000.0, 'f', 1); }

int fail(QTextStream& err, const QString& text) {
    err << text << "\n";
    err.flush();
    return 1;
}

fb::ServiceLines echo(const BackupOptions& options, QTextStream& out) {
    if (!options.verbose) return {};
    return [&out](const QString& line) { out << line << "\n" << Qt::flush; };
}

// A name beside `path` for work in progress; removed when it is left behind.
QString passingName(const QString& path, const char* what) {
    return path + QStringLiteral(".%1-%2").arg(QString::fromLatin1(what)).arg(QCoreApplication::applicationPid());
}

// Someone else works with the database: the embedded engine refuses to open a
// file another process holds; on a server the monitoring tables list the other
// connections. Throws DbError for other refusals.
bool inUse(const QString& database, std::unique_ptr<fb::Attachment>* keep = nullptr) {
    std::unique_ptr<fb::Attachment> att;
    try {
        att = std::make_unique<fb::Attachment>(database);
    } catch (const fb::DbError& e) {
        if (fb::isDatabaseInUse(e)) return true;
        throw;
    }
    fb::Transaction tra(*att);
    const qint64 others = fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 "
                                                         "AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION")).toInt();
    tra.commit();
    if (others > 0) return true;
    if (keep) *keep = std::move(att);
    return false;
}

// VER_NAME of the database, trimmed.
QString structureVersion(const QString& database) {
    fb::Attachment att(database);
    fb::Transaction tra(att);
    const QString v = fb::scalar(tra, QStringLiteral("SELECT VER_NAME FROM P_VERSION")).toString().trimmed();
    tra.commit();
    return v;
}

// Empty when the version matches the program's, else the explanation.
QString versionMismatch(const QString& database) {
    QString version;
    try {
        version = structureVersion(database);
    } catch (const fb::DbError& e) {
        return QStringLiteral("Не удалось прочитать версию структуры восстановленной базы данных: %1")
            .arg(e.serverText().trimmed());
    }
    int have = -1;
    try {
        have = VersionToInt(version);
    } catch (const std::invalid_argument&) {
    }
    if (have == VersionToInt(programStructureVersion())) return QString();
    return QStringLiteral("Версия структуры восстановленной базы данных (%1) не совпадает с версией программы (%2): "
                          "программа не сможет работать с этой базой.")
        .arg(version.isEmpty() ? QStringLiteral("нет") : version, programStructureVersion());
}

}  // namespace

QString programStructureVersion() {
    static const QString version = [] {
        static const QRegularExpression re(QStringLiteral("VER_NAME\\s*=\\s*'([^']*)'"));
        return re.match(schemaScript()).captured(1);
    }();
    return version;
}

int runBackup(const QString& database, const QString& file, const BackupOptions& options, QTextStream& out,
              QTextStream& err) {
    const bool remote = fb::isNetworkDatabase(database);
    if (!remote && !QFileInfo::exists(database))
        return fail(err, QStringLiteral("Файл базы данных не найден: %1").arg(database));
    QElapsedTimer timer;
    timer.start();
    try {
        fb::backupDatabase(database, file, echo(options, out));
    } catch (const fb::DbError& e) {
        return fail(err, fb::serviceFailureText(e, fb::ServiceWork::Backup, database, file));
    } catch (const std::runtime_error& e) {
        return fail(err, QString::fromStdString(e.what()));
    }
    if (!remote) {
        out << "Резервная копия создана: " << file << " (" << QString::number(QFileInfo(file).size() / 1024)
            << " КБ, " << seconds(timer) << " с)\n";
    } else {
        out << "Резервная копия создана на сервере: " << file << " (" << seconds(timer) << " с)\n";
    }
    out.flush();
    return 0;
}

int runRestore(const QString& file, const QString& database, bool replace, const BackupOptions& options,
               QTextStream& out, QTextStream& err) {
    const bool remote = fb::isNetworkDatabase(database);
    QElapsedTimer timer;
    timer.start();
    const QString inUseText =
        QStringLiteral("База данных «%1» открыта: с ней работают. Закройте программу на всех рабочих местах "
                       "и повторите восстановление.").arg(database);
    const QString existsText =
        QStringLiteral("База данных уже существует: %1\nУкажите --replace, чтобы заменить ее.").arg(database);

    if (!remote) {
        if (!QFileInfo::exists(file)) return fail(err, QStringLiteral("Файл резервной копии не найден: %1").arg(file));
        if (QFileInfo(file).canonicalFilePath() == QFileInfo(database).canonicalFilePath())
            return fail(err, QStringLiteral("Базу данных нельзя восстановить поверх ее же резервной копии: %1").arg(file));
        const bool exists = QFileInfo::exists(database);
        if (exists && !replace) return fail(err, existsText);
        try {
            if (exists && inUse(database)) return fail(err, inUseText);
        } catch (const fb::DbError&) {
            // Not a database the engine can open: replacing it is what was asked.
        }
        // Restored beside its place, checked, then moved there.
        const QString passing = passingName(database, "restoring");
        QFile::remove(passing);
        try {
            fb::restoreDatabase(file, passing, false, echo(options, out));
        } catch (const fb::DbError& e) {
            QFile::remove(passing);
            return fail(err, fb::serviceFailureText(e, fb::ServiceWork::Restore, database, file));
        }
        const QString mismatch = versionMismatch(passing);
        if (!mismatch.isEmpty()) {
            QFile::remove(passing);
            return fail(err, mismatch + QStringLiteral("\nБаза данных не восстановлена") +
                                 (exists ? QStringLiteral(", прежняя оставлена как была.") : QStringLiteral(".")));
        }
        // While this process holds the old database, no program can open it
        // between the check and the move.
        std::unique_ptr<fb::Attachment> hold;
        try {
            if (QFileInfo::exists(database) && inUse(database, &hold)) {
                QFile::remove(passing);
                return fail(err, inUseText);
            }
        } catch (const fb::DbError&) {
        }
        if (std::rename(QFile::encodeName(passing).constData(), QFile::encodeName(database).constData()) != 0) {
            QFile::remove(passing);
            return fail(err, QStringLiteral("Не удалось поместить восстановленную базу на место: %1").arg(database));
        }
        hold.reset();
    } else {
        // On a server the engine itself refuses an existing database without
        // --replace and one that is in use; the connections are looked at
        // first so that nothing starts while a workstation works.
        if (replace) {
            try {
                if (inUse(database)) return fail(err, inUseText);
            } catch (const fb::DbError&) {
            }
        }
        try {
            fb::restoreDatabase(file, database, replace, echo(options, out));
        } catch (const fb::DbError& e) {
            if (!replace && e.hasGds(336330766L /* isc_gbak_db_exists */)) return fail(err, existsText);
            return fail(err, fb::serviceFailureText(e, fb::ServiceWork::Restore, database, file));
        }
        const QString mismatch = versionMismatch(database);
        if (!mismatch.isEmpty()) {
            // A new database goes again; one that replaced another stays, the
            // engine has already removed the old one.
            if (!replace) {
                try {
                    fb::dropDatabase(database);
                    return fail(err, mismatch + QStringLiteral("\nВосстановленная база удалена с сервера."));
                } catch (const fb::DbError&) {
                }
            }
            return fail(err, mismatch + QStringLiteral("\nВосстановленная база осталась на сервере: %1").arg(database));
        }
    }
    out << "База данных восстановлена: " << database << " (" << seconds(timer) << " с)\n";
    out.flush();
    return 0;
}

}  // namespace obrixdb
