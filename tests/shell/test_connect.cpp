// Connecting, the version check and the loading that follows a connection.
#include "ShellFixture.h"
#include "ui/MessageBoxes.h"
#include "shell/ConnectCommand.h"
#include "shell/ConnectDB.h"

using namespace shelltest;

namespace {
class Connect : public ShellTest {
protected:
    void setVersion(const char* version) {
        prepare({QStringLiteral("CREATE OR ALTER PROCEDURE P_VERSION RETURNS (VER_NAME VARCHAR(10)) AS "
                                "BEGIN VER_NAME='%1'; SUSPEND; END")
                     .arg(QString::fromLatin1(version))});
    }
    // Connects through the window's routine, answering every message.
    bool connDB(ModalScript& script) {
        script.answerOk();
        auto* w = Window<TfrmConnectDB>("frmConnectDB");
        EXPECT_NE(w, nullptr);
        return w->ConnDB();
    }
    const QString kFailurePrefix = QStringLiteral("При подключении к базе данных ");
};
}  // namespace

TEST_F(Connect, MatchingVersionConnects) {
    ModalScript script;
    EXPECT_TRUE(connDB(script));
    EXPECT_TRUE(GL.Connected);
    EXPECT_TRUE(DM().isConnected());
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_FALSE(Window<QWidget>("frmConnectDB")->isVisible());
}

TEST_F(Connect, MissingFileGivesTheConnectionErrorMessage) {
    AppOptions.LocalDBName = dbPath + QStringLiteral(".missing");
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    EXPECT_FALSE(GL.Connected);
    EXPECT_FALSE(DM().isConnected());
    ASSERT_EQ(script.messages().size(), 1);
    const MessageRequest& m = script.messages()[0];
    EXPECT_EQ(m.flags, mbStopOk);
    EXPECT_EQ(m.caption, VendorTitle());
    const QString head = kFailurePrefix + AppOptions.LocalDBName +
                         QStringLiteral(" произошла ошибка.\r\n\r\nОшибка: Ошибка сервера базы данных\r\nСообщение: "
                                        "Database Server Error: ");
    EXPECT_TRUE(m.text.startsWith(head)) << m.text.toStdString();
    EXPECT_GT(m.text.size(), head.size()) << "the server's own text follows";
}

TEST_F(Connect, NoDatabaseNameIsAConnectionFailure) {
    struct Case { int kind; QString local; };
    const Case cases[] = {{0, QStringLiteral("/some/file.fdb")}, {1, QString()}, {5, QString()}};
    for (const auto& c : cases) {
        AppOptions.ConnectKind = c.kind;
        AppOptions.LocalDBName = c.local;
        ModalScript script;
        EXPECT_FALSE(connDB(script));
        EXPECT_FALSE(GL.Connected);
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages()[0].flags, mbStopOk);
        EXPECT_TRUE(script.messages()[0].text.startsWith(
            QStringLiteral("При подключении к базе данных  произошла ошибка.\r\n\r\nОшибка: Ошибка базы данных\r\n"
                           "Сообщение: Не указано расположение базы данных.")))
            << c.kind << script.messages()[0].text.toStdString();
    }
}

TEST_F(Connect, LowerDatabaseVersion) {
    setVersion("1.1.5");
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    EXPECT_FALSE(GL.Connected);
    EXPECT_FALSE(DM().isConnected());
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].flags, mbWarningOk);
    EXPECT_EQ(script.messages()[0].caption, VendorTitle());
    EXPECT_EQ(script.messages()[0].text,
              QStringLiteral("Ошибка при подключении к базе данных.\rВерсия базы данных ниже версии программы.\r\r"
                             "Версия базы данных: 1.1.5\rВерсия программы: 1.1.6\r\r"
                             "Для преобразования базы данных воспользуйтесь программой \"Конвертор базы данных\".\r"
                             "Запустить ее можно через Пуск->Все программы->Обрикс->Конвертор базы данных."));
}

TEST_F(Connect, HigherDatabaseVersion) {
    setVersion("1.2.0");
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    EXPECT_FALSE(GL.Connected);
    EXPECT_FALSE(DM().isConnected());
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].flags, mbInfoOk);
    EXPECT_EQ(script.messages()[0].text,
              QStringLiteral("Ошибка при подключении к базе данных.\rВерсия программы ниже версии базы данных.\r\r"
                             "Версия базы данных: 1.2.0\rВерсия программы: 1.1.6\r\r"
                             "Необходимо обновить программу.\rВоспользуйтесь инсталлятором программы нужной версии.\r"));
}

TEST_F(Connect, VersionComparedAsNumbersNotText) {
    setVersion("1.1.10");  // above 1.1.6 although it sorts below as text
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].flags, mbInfoOk);
}

TEST_F(Connect, FailedVersionCheckLeavesTheProgramUnconnected) {
    struct Case { QString statement; QString kind; QString message; };
    const Case cases[] = {
        {QStringLiteral("DROP PROCEDURE P_VERSION"), QStringLiteral("Ошибка сервера базы данных"),
         QStringLiteral("Database Server Error: ")},
        {QStringLiteral("CREATE OR ALTER PROCEDURE P_VERSION RETURNS (VER_NAME VARCHAR(10)) AS "
                        "BEGIN VER_NAME='нет'; SUSPEND; END"),
         QStringLiteral("Ошибка версии"), QStringLiteral("Неверный номер версии базы данных: \"нет\"")},
        {QStringLiteral("CREATE OR ALTER PROCEDURE P_VERSION RETURNS (VER_NAME VARCHAR(10)) AS "
                        "DECLARE X INTEGER; BEGIN X = 1/0; VER_NAME='1.1.6'; SUSPEND; END"),
         QStringLiteral("Ошибка сервера базы данных"), QStringLiteral("Database Server Error: ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement.toStdString());
        DM().disconnectDatabase();
        prepare({c.statement});
        ModalScript script;
        EXPECT_FALSE(connDB(script));
        EXPECT_FALSE(GL.Connected);
        EXPECT_FALSE(DM().isConnected()) << "the connection is closed";
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages()[0].flags, mbStopOk);
        EXPECT_TRUE(script.messages()[0].text.startsWith(
            kFailurePrefix + dbPath + QStringLiteral(" произошла ошибка.\r\n\r\nОшибка: ") + c.kind +
            QStringLiteral("\r\nСообщение: ") + c.message))
            << script.messages()[0].text.toStdString();
    }
}

TEST_F(Connect, CommandWithoutPeriodsLoadsLookupsAndOrganisation) {
    ModalScript script;
    GL.RPeriodID = 5;
    EXPECT_TRUE(RunConnectCommand());
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(GL.RPeriodID, -1);
    EXPECT_FALSE(DM().cdsRPeriod->isActive());
    for (auto* ds : DM().lookupsInOpenOrder()) {
        if (ds != DM().cdsRPeriod) {
            EXPECT_TRUE(ds->isActive()) << ds->objectName().toStdString();
        }
    }
    EXPECT_EQ(UchetOptions.NameOrg, QStringLiteral("Мастерская"));
    EXPECT_EQ(UchetOptions.DenEd, QStringLiteral("руб."));
    EXPECT_EQ(UchetOptions.SerDef, QStringLiteral("АА"));
    EXPECT_EQ(UchetOptions.VremDef, QStringLiteral("10:00-19:00"));
    EXPECT_TRUE(UchetOptions.AutoSklad);
    EXPECT_EQ(UchetOptions.DVDelta, 3);
}

TEST_F(Connect, CommandTakesThePeriodWithTheHighestId) {
    prepare({QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (3, '2009-01-01', '2009-01-31', '*')"),
             QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (7, '2009-03-01', '2009-03-31', ' ')"),
             QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (5, '2009-02-01', '2009-02-28', '*')")});
    ModalScript script;
    EXPECT_TRUE(RunConnectCommand());
    EXPECT_EQ(GL.RPeriodID, 7);
    EXPECT_EQ(GL.RPeriodDate1, QDate(2009, 3, 1));
    EXPECT_EQ(GL.RPeriodDate2, QDate(2009, 3, 31));
    EXPECT_FALSE(GL.RPeriodOpen);
    EXPECT_FALSE(DM().cdsRPeriod->isActive());
}

TEST_F(Connect, CommandStopsAfterAFailedConnection) {
    setVersion("1.1.5");
    ModalScript script;
    script.answerOk();
    GL.RPeriodID = 4;
    EXPECT_FALSE(RunConnectCommand());
    EXPECT_EQ(GL.RPeriodID, 4);
    EXPECT_FALSE(DM().cdsPriemschikLU->isActive());
}

TEST_F(Connect, AFailedConnectionSaysTheLikelyCauseInRussian) {
    AppOptions.LocalDBName = dbPath + QStringLiteral(".missing");
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.endsWith(QStringLiteral("\r\n\r\nВозможная причина: файл базы данных ") +
                                                   AppOptions.LocalDBName + QStringLiteral(" не существует. Проверьте "
                                                   "настройки подключения (меню \"Настройка\", \"Настройка программы...\").")))
        << script.messages()[0].text.toStdString();

    struct Case { int kind; QString file; QString message; const char* cause; };
    const Case cases[] = {
        {1, dbPath, QStringLiteral("lock time-out on wait transaction; database is in use"), "занят другой программой"},
        {1, dbPath, QStringLiteral("Invalid connection string -Cannot transliterate character between character sets"),
         "не передаются в кодировке системы"},
        {2, QString(), QStringLiteral("Unable to complete network request to host \"srv\". -Failed to establish a connection."),
         "сервер базы данных srv не отвечает"},
        {1, dbPath, QStringLiteral("some other refusal"), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const QString why = ConnectFailureExplanation(c.kind, c.file, QStringLiteral("srv"), c.message);
        if (c.cause)
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.cause))) << why.toStdString();
        else
            EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
}
