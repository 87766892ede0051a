#include "session/DatabaseBackup.h"

#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Service.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

// How often the window hears how much of a server's backup has come.
constexpr qint64 kReceivedStep = 256 * 1024;

}  // namespace

bool BackupCommandEnabled(bool connected, const TGL& gl) { return connected && gl.DostupBookUser; }

QString BackupRefusalText() { return QStringLiteral("Резервную копию делает администратор."); }

QString SuggestedBackupFile(const QString& database, const QDate& day) {
    const QString name = QStringLiteral("obrix-%1.fbk").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
    const QString folder = fb::isNetworkDatabase(database) || database.isEmpty()
                               ? QDir::homePath()
                               : QFileInfo(database).absolutePath();
    return QDir(folder).filePath(name);
}

QString BackupTargetFile(const QString& chosen) {
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty()) return chosen;
    return chosen + QStringLiteral(".fbk");
}

QString BackupJobText(const QString& database, const QString& file) {
    return QStringLiteral("Резервная копия базы данных %1\rв файл %2").arg(database, file);
}

TBackupResult RunDatabaseBackup(const QString& database, const QString& file,
                                const std::function<void(const QString&)>& line, const std::atomic_bool& stop) {
    const auto post = [&line](const QString& text) {
        if (line) line(text);
    };
    TBackupResult result{TBackupOutcome::Done, QString()};
    try {
        const auto asked = [&stop] { return stop.load(); };
        if (fb::isNetworkDatabase(database)) {
            post(QStringLiteral("Сервер передает резервную копию..."));
            qint64 reported = 0;
            fb::backupDatabaseHere(database, file, [&](qint64 bytes) {
                if (bytes - reported < kReceivedStep) return;
                reported = bytes;
                post(QStringLiteral("Получено %1 КБ").arg(bytes / 1024));
            }, asked);
        } else {
            fb::backupDatabase(database, file, post, asked);
        }
    } catch (const fb::ServiceCancelled&) {
        result.outcome = TBackupOutcome::Cancelled;
    } catch (const fb::DbError& e) {
        result.outcome = TBackupOutcome::Failed;
        result.failure = fb::serviceFailureText(e, fb::ServiceWork::Backup, database, file);
    } catch (const std::exception& e) {
        result.outcome = TBackupOutcome::Failed;
        result.failure = QString::fromUtf8(e.what());
    }
    result.failure.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return result;
}

TNotice BackupResultNotice(const TBackupResult& result, const QString& file, bool fileExisted) {
    switch (result.outcome) {
    case TBackupOutcome::Done:
        return {TNoticeKind::Information, QStringLiteral("Резервная копия базы данных создана:\r") + file};
    case TBackupOutcome::Cancelled:
        return {TNoticeKind::Warning,
                QStringLiteral("Резервная копия не создана: работа прервана.") +
                    (fileExisted ? QStringLiteral("\rПрежний файл %1 оставлен как был.").arg(file) : QString())};
    case TBackupOutcome::Failed:
        return {TNoticeKind::Stop, QStringLiteral("Резервная копия не создана.\r") + result.failure};
    case TBackupOutcome::None: break;
    }
    return {};
}
