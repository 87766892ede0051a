#include "session/ConnectDatabase.h"

#include "base/RoutsFormat.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "fb/DbError.h"
#include "session/Settings.h"
#include "session/UchetVariables.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace {

// Thrown for a version text that holds no version number.
class EVersionError : public std::runtime_error {
public:
    explicit EVersionError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

}  // namespace

QString ProgramDBVersion() { return QStringLiteral("1.1.6"); }

QString ConnectErrorKind(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const fb::DbError&) {
        return QStringLiteral("Ошибка сервера базы данных");
    } catch (const EDatabaseError&) {
        return QStringLiteral("Ошибка базы данных");
    } catch (const EVersionError&) {
        return QStringLiteral("Ошибка версии");
    } catch (...) {
        return QStringLiteral("Ошибка программы");
    }
}

QString ConnectErrorText(const QString& database, const std::exception_ptr& error) {
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const EVersionError& e) {
        message = e.text;
    } catch (const std::exception& e) {
        message = errorMessage(e);
    } catch (...) {
        message = QStringLiteral("Неизвестная ошибка");
    }
    return QStringLiteral("При подключении к базе данных ") + database + QStringLiteral(" произошла ошибка.") +
           QStringLiteral("\r\n\r\nОшибка: ") + ConnectErrorKind(error) + QStringLiteral("\r\nСообщение: ") + message;
}

QString ConnectFailureExplanation(int kind, const QString& localFile, const QString& server, const QString& message) {
    const QString head = QStringLiteral("Возможная причина: ");
    const auto has = [&](const char* text) { return message.contains(QLatin1String(text), Qt::CaseInsensitive); };
    const QString settingsHint =
        QStringLiteral(" Проверьте настройки подключения (меню \"Настройка\", \"Настройка программы...\").");
    if (kind == 1 && !localFile.isEmpty()) {
        const QFileInfo file(localFile);
        if (has("transliterate") || QFile::decodeName(QFile::encodeName(localFile)) != localFile)
            return head + QStringLiteral("путь к файлу базы данных содержит символы, которые не передаются в "
                                         "кодировке системы. Переместите базу данных в папку, путь к которой "
                                         "состоит из латинских букв и цифр, или включите в системе кодировку UTF-8.");
        if (!file.exists())
            return head + QStringLiteral("файл базы данных ") + localFile + QStringLiteral(" не существует.") +
                   settingsHint;
        if (!file.isReadable() || !file.isWritable() || has("permission") || has("access"))
            return head + QStringLiteral("нет прав на чтение или запись файла базы данных ") + localFile +
                   QStringLiteral(". Пользователю, под которым работает программа, нужны права на чтение и "
                                  "запись этого файла и его папки.");
        if (has("lock") || has("in use") || has("being used") || has("shutdown"))
            return head + QStringLiteral("файл базы данных занят другой программой (другим сервером базы данных "
                                         "или программой резервного копирования). Закройте ее и подключитесь снова.");
        return {};
    }
    if (kind == 2) {
        if (has("network") || has("refused") || has("failed to establish") || has("unavailable") ||
            has("host") || has("timed out") || has("timeout"))
            return head + QStringLiteral("сервер базы данных ") + server +
                   QStringLiteral(" не отвечает. Проверьте, что компьютер-сервер включен и сервер базы данных на "
                                  "нем запущен, что имя сервера и порт указаны верно и сеть пропускает "
                                  "соединение.") +
                   settingsHint;
        if (has("I/O error") || has("no such file") || has("not found"))
            return head + QStringLiteral("на сервере нет файла базы данных по указанному пути.") + settingsHint;
    }
    return {};
}

bool IsDatabaseFileInUse(const std::exception_ptr& error) {
    constexpr long kIoError = 335544344L;        // isc_io_error
    constexpr long kLockTimeout = 335544510L;    // isc_lock_timeout
    constexpr long kAlreadyOpened = 335545107L;  // isc_already_opened
    try {
        std::rethrow_exception(error);
    } catch (const fb::DbError& e) {
        const QString text = e.serverText();
        // Another engine instance has the file: "I/O error during "lock"
        // operation for file ... -Database already opened with engine instance".
        if (e.hasGds(kAlreadyOpened)) return true;
        if (e.hasGds(kIoError) && text.contains(QLatin1String("\"lock\" operation"))) return true;
        return e.hasGds(kLockTimeout) &&
               (text.contains(QLatin1String("in use"), Qt::CaseInsensitive) ||
                text.contains(QLatin1String("being used"), Qt::CaseInsensitive));
    } catch (...) {
        return false;
    }
}

QString DatabaseInUseText(const QString& file) {
    return QStringLiteral("База данных «") + file +
           QStringLiteral("» открыта другой программой. Закройте ее и повторите подключение.");
}

QString LowerVersionText(const QString& dbVersion) {
    return QStringLiteral("Ошибка при подключении к базе данных.\rВерсия базы данных ниже версии программы.\r\r"
                          "Версия базы данных: ") +
           dbVersion + QStringLiteral("\rВерсия программы: ") + ProgramDBVersion() +
           QStringLiteral("\r\rДля преобразования базы данных воспользуйтесь программой \"Конвертор базы данных\".\r"
                          "Запустить ее можно через Пуск->Все программы->Обрикс->Конвертор базы данных.");
}

QString HigherVersionText(const QString& dbVersion) {
    return QStringLiteral("Ошибка при подключении к базе данных.\rВерсия программы ниже версии базы данных.\r\r"
                          "Версия базы данных: ") +
           dbVersion + QStringLiteral("\rВерсия программы: ") + ProgramDBVersion() +
           QStringLiteral("\r\rНеобходимо обновить программу.\rВоспользуйтесь инсталлятором программы нужной версии.\r");
}

TConnectOutcome ConnectAndCheckVersion(TDM& dm, const TMyApplicationOptions& options) {
    const QString database = DatabaseString(options);

    // 1-2. Open the connection.
    try {
        if (IsEmptyText(database))
            throw EDatabaseError(QStringLiteral("Не указано расположение базы данных. "
                                                "Укажите его в настройках программы."));
        dm.connectDatabase(database);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        dm.disconnectDatabase();
        GL.Connected = false;  // nothing is open, whatever was before
        if (options.ConnectKind == 1 && IsDatabaseFileInUse(error))
            return {false, {TNoticeKind::Stop, DatabaseInUseText(options.LocalDBName)}};
        QString text = ConnectErrorText(database, error);
        const QString why = ConnectFailureExplanation(options.ConnectKind, options.LocalDBName, options.Server,
                                                      errorMessage(error));
        if (!why.isEmpty()) text += QStringLiteral("\r\n\r\n") + why;
        return {false, {TNoticeKind::Stop, text}};
    }

    // The structure version of the database.
    QString version;
    int dbVersion = 0;
    try {
        version = dm.databaseVersion();
        try {
            dbVersion = VersionToInt(version);
        } catch (const std::invalid_argument&) {
            throw EVersionError(QStringLiteral("Неверный номер версии базы данных: \"%1\"").arg(version));
        }
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        dm.disconnectDatabase();
        GL.Connected = false;
        return {false, {TNoticeKind::Stop, ConnectErrorText(database, error)}};
    }

    // Compared with the program's.
    const int programVersion = VersionToInt(ProgramDBVersion());
    if (dbVersion == programVersion) {
        GL.Connected = true;
        return {true, {TNoticeKind::None, QString()}};
    }
    GL.Connected = false;
    dm.disconnectDatabase();
    if (dbVersion < programVersion) return {false, {TNoticeKind::Warning, LowerVersionText(version)}};
    return {false, {TNoticeKind::Information, HigherVersionText(version)}};
}

void ChooseLatestPeriod() {
    TClientDataSet& ds = *DM().cdsRPeriod;
    if (!ds.isActive() || ds.isEmpty()) {
        GL.RPeriodID = -1;
        return;
    }
    ds.last();
    GL.RPeriodID = ds.fieldByName(QStringLiteral("ID")).asInteger();
    GL.RPeriodDate1 = ds.fieldByName(QStringLiteral("DATE_1")).asDate();
    GL.RPeriodDate2 = ds.fieldByName(QStringLiteral("DATE_2")).asDate();
    GL.RPeriodOpen = ds.fieldByName(QStringLiteral("ACT")).asString().trimmed() == QStringLiteral("*");
}

bool OpenConnectedSession() {
    TDM& dm = DM();
    dm.openLookups();
    ChooseLatestPeriod();
    dm.cdsRPeriod->close();
    UpdateUchetOptions();
    return GL.Connected;
}
