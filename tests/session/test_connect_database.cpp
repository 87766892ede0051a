// Connecting and the version check without a window: what the outcome says
// and which error counts as a file held by another program.
#include "session/ConnectDatabase.h"

#include "TestDatabase.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "fb/DbError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ConnectInUse, OnlyTheRefusalOfAFileHeldElsewhereCountsAsInUse) {
    struct Case {
        fb::DbError error;
        bool inUse;
    };
    const Case cases[] = {
        {fb::DbError(QStringLiteral("I/O error during \"lock\" operation for file \"/x.fdb\"\n"
                                    "-Database already opened with engine instance, incompatible with current"),
                     {335544344L, 335545107L}),
         true},
        {fb::DbError(QStringLiteral("lock time-out on wait transaction\n-Database is in use by another process"),
                     {335544510L}),
         true},
        {fb::DbError(QStringLiteral("I/O error during \"open\" operation for file \"/x.fdb\"\n"
                                    "-Error while trying to open file\n-No such file or directory"),
                     {335544344L, 335544734L}),
         false},
        {fb::DbError(QStringLiteral("lock time-out on wait transaction"), {335544510L}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error.serverText().toStdString());
        EXPECT_EQ(IsDatabaseFileInUse(std::make_exception_ptr(c.error)), c.inUse);
    }
    EXPECT_FALSE(IsDatabaseFileInUse(std::make_exception_ptr(EDatabaseError(QStringLiteral("x")))));
}

TEST(ConnectOutcome, TheVersionDecidesWhetherTheProgramStaysConnectedAndHowItIsSaid) {
    QTemporaryDir dir;
    const QString path = testdb::freshCopy(dir);
    struct Case {
        const char* version;  // nullptr: the file does not exist
        bool connected;
        TNoticeKind kind;
        const char* begins;
    };
    const Case cases[] = {
        {"1.1.6", true, TNoticeKind::None, nullptr},
        {"1.1.5", false, TNoticeKind::Warning, "Ошибка при подключении к базе данных.\rВерсия базы данных ниже"},
        {"1.1.10", false, TNoticeKind::Information, "Ошибка при подключении к базе данных.\rВерсия программы ниже"},
        {"нет", false, TNoticeKind::Stop, "При подключении к базе данных "},
        {nullptr, false, TNoticeKind::Stop, "При подключении к базе данных "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "missing file");
        TMyApplicationOptions options;
        options.ConnectKind = 1;
        options.LocalDBName = c.version ? path : path + QStringLiteral(".missing");
        if (c.version) {
            fb::Attachment att(path);
            testdb::exec(att, QStringLiteral("CREATE OR ALTER PROCEDURE P_VERSION RETURNS (VER_NAME VARCHAR(10)) AS "
                                             "BEGIN VER_NAME='%1'; SUSPEND; END")
                                  .arg(QString::fromUtf8(c.version)));
        }
        TDM dm;
        GL.Connected = !c.connected;
        const TConnectOutcome outcome = ConnectAndCheckVersion(dm, options);
        EXPECT_EQ(outcome.connected, c.connected);
        EXPECT_EQ(GL.Connected, c.connected);
        EXPECT_EQ(dm.isConnected(), c.connected) << "a refused database is not left open";
        EXPECT_EQ(outcome.notice.kind, c.kind);
        if (c.connected) EXPECT_TRUE(outcome.notice.text.isEmpty()) << outcome.notice.text.toStdString();
        else EXPECT_TRUE(outcome.notice.text.startsWith(QString::fromUtf8(c.begins))) << outcome.notice.text.toStdString();
        if (!c.version) {
            EXPECT_TRUE(outcome.notice.text.contains(QStringLiteral("Возможная причина: файл базы данных "))) << outcome.notice.text.toStdString();
        }
        dm.disconnectDatabase();
    }
    GL.Connected = false;
}
