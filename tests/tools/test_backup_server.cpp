// Backup and restore of a database on the Firebird server (OBRIX_TEST_SERVER,
// OBRIX_TEST_SERVER_DIR, as tools/setup.sh test sets them): the backup file
// on the server's side, and a backup the server sends to this computer.
#include "BackupFixture.h"
#include "TestDatabase.h"
#include "fb/DbError.h"
#include "fb/Service.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace backuptest;

namespace {

class ServerBackup : public ::testing::Test {
protected:
    void SetUp() override {
        server = qEnvironmentVariable("OBRIX_TEST_SERVER");
        serverDir = qEnvironmentVariable("OBRIX_TEST_SERVER_DIR");
        if (server.isEmpty() || serverDir.isEmpty()) {
            if (qEnvironmentVariableIsSet("OBRIX_TEST_SERVER_REQUIRED")) FAIL() << "the test server is not set up";
            GTEST_SKIP() << "no test server (run through tools/setup.sh test)";
        }
        tag = QUuid::createUuid().toString(QUuid::Id128).left(12);
        db = onServer("bk_src");
        obrixdb::createDatabase(db);
        fb::Attachment att(db);
        obrixdb::fillDemo(att);
    }
    void TearDown() override {
        QFile::remove(serverFile("bk", "fbk"));  // when the server's folder lets this user
        for (const QString& d : made) {
            try {
                fb::dropDatabase(d);
            } catch (...) {
            }
        }
    }
    // A database path on the server, dropped after the test.
    QString onServer(const char* name) {
        const QString d = server + QLatin1Char(':') + serverFile(name, "fdb");
        made << d;
        return d;
    }
    QString serverFile(const char* name, const char* ext) const {
        return serverDir + QStringLiteral("/%1_%2.%3").arg(QString::fromLatin1(name), tag, QString::fromLatin1(ext));
    }
    QString server, serverDir, tag, db;
    QStringList made;
};

TEST_F(ServerBackup, BackupOnTheServerRestoresEveryTableAndRefusesWhatItMust) {
    const QString fbk = serverFile("bk", "fbk");  // a path on the server's machine
    const ToolRun backup = obrixDb({QStringLiteral("backup"), db, fbk});
    ASSERT_EQ(backup.code, 0) << backup.err.toStdString();

    const QString copy = onServer("bk_copy");
    const ToolRun restore = obrixDb({QStringLiteral("restore"), fbk, copy});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();
    const auto before = allRows(db);
    ASSERT_GE(before.size(), 20);
    EXPECT_EQ(allRows(copy), before);

    // Exists: refused without --replace; in use: refused with it.
    const ToolRun exists = obrixDb({QStringLiteral("restore"), fbk, copy});
    EXPECT_EQ(exists.code, 1);
    EXPECT_TRUE(exists.err.contains(QStringLiteral("уже существует"))) << exists.err.toStdString();
    {
        fb::Attachment workstation(copy);
        const ToolRun busy = obrixDb({QStringLiteral("restore"), fbk, copy, QStringLiteral("--replace")});
        EXPECT_EQ(busy.code, 1);
        EXPECT_TRUE(busy.err.contains(QStringLiteral("открыта"))) << busy.err.toStdString();
    }
    EXPECT_EQ(obrixDb({QStringLiteral("restore"), fbk, copy, QStringLiteral("--replace")}).code, 0);
}

TEST_F(ServerBackup, TheServerSendsABackupToThisComputer) {
    QTemporaryDir here;
    const QString local = here.filePath(QStringLiteral("from-server.fbk"));
    qint64 received = 0;
    fb::backupDatabaseHere(db, local, [&](qint64 bytes) { received = bytes; });
    EXPECT_EQ(received, QFileInfo(local).size());
    ASSERT_GT(received, 0);

    const QString restored = here.filePath(QStringLiteral("restored.fdb"));
    const ToolRun restore = obrixDb({QStringLiteral("restore"), local, restored});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();
    EXPECT_EQ(allRows(restored), allRows(db));
}

TEST_F(ServerBackup, StoppingABackupEndsTheServersWorkButNoWorkstation) {
    fb::Attachment workstation(db);
    QTemporaryDir here;
    const QString local = here.filePath(QStringLiteral("stopped.fbk"));
    int pieces = 0;
    EXPECT_THROW(fb::backupDatabaseHere(db, local, [&](qint64) { ++pieces; }, [&] { return pieces >= 1; }),
                 fb::ServiceCancelled);
    EXPECT_FALSE(QFile::exists(local));
    fb::Transaction tra(workstation);
    EXPECT_GT(fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM DOCU")).toInt(), 0);
    tra.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // See test_backup.cpp: leave without unloading the engine.
    std::fflush(nullptr);
    std::_Exit(result);
}
