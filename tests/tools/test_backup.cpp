// obrix-db backup and restore on local files: the round trip keeps every row
// of every table; a restore never replaces what it must not; a failed or
// stopped backup leaves an earlier backup as it was.
#include "BackupFixture.h"
#include "TestDatabase.h"
#include "fb/DbError.h"
#include "fb/Service.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace backuptest;

namespace {

class Backup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = testdb::freshCopy(dir, testdb::Template::Demo, QStringLiteral("work.fdb"));
        fbk = dir.filePath(QStringLiteral("work.fbk"));
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString db, fbk;
};

TEST_F(Backup, RestoredDatabaseHoldsEveryRowOfEveryTable) {
    const ToolRun backup = obrixDb({QStringLiteral("backup"), db, fbk});
    ASSERT_EQ(backup.code, 0) << backup.err.toStdString();
    EXPECT_TRUE(backup.out.contains(fbk));
    const QString restored = path("restored.fdb");
    const ToolRun restore = obrixDb({QStringLiteral("restore"), fbk, restored});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();

    const auto before = allRows(db);
    const auto after = allRows(restored);
    ASSERT_GE(before.size(), 20);  // the schema's tables, not an empty listing
    EXPECT_GT(before.value(QStringLiteral("DOCU")).size(), 10);
    EXPECT_GT(before.value(QStringLiteral("MOVES")).size(), 10);
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    // Nothing is left behind under a passing name.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("-")).size(), 0)
        << QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
}

TEST_F(Backup, ABackupSentOverTheConnectionRestoresTheSameRows) {
    // The way a server's backup comes to a workstation, here from the local
    // engine: the data arrive in pieces of up to 64 KB.
    qint64 received = 0;
    fb::backupDatabaseHere(db, fbk, [&](qint64 bytes) { received = bytes; });
    EXPECT_EQ(received, QFileInfo(fbk).size());
    const QString restored = path("restored.fdb");
    const ToolRun restore = obrixDb({QStringLiteral("restore"), fbk, restored});
    ASSERT_EQ(restore.code, 0) << restore.err.toStdString();
    EXPECT_EQ(allRows(restored), allRows(db));
}

TEST_F(Backup, RestoreReplacesAnExistingDatabaseOnlyWhenToldAndNeverOneInUse) {
    ASSERT_EQ(obrixDb({QStringLiteral("backup"), db, fbk}).code, 0);
    const QString target = testdb::freshCopy(dir, testdb::Template::Empty, QStringLiteral("target.fdb"));
    const qint64 emptyOrders = count(target, QStringLiteral("DOCU"));
    ASSERT_NE(emptyOrders, count(db, QStringLiteral("DOCU")));

    const ToolRun refused = obrixDb({QStringLiteral("restore"), fbk, target});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("уже существует"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--replace")));
    EXPECT_EQ(count(target, QStringLiteral("DOCU")), emptyOrders);

    {
        // This process holds the database as a running program would.
        fb::Attachment inUse(target);
        const ToolRun busy = obrixDb({QStringLiteral("restore"), fbk, target, QStringLiteral("--replace")});
        EXPECT_EQ(busy.code, 1);
        EXPECT_TRUE(busy.err.contains(QStringLiteral("открыта"))) << busy.err.toStdString();
        fb::Transaction tra(inUse);
        EXPECT_EQ(fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM DOCU")).toInt(), emptyOrders);
    }

    const ToolRun replaced = obrixDb({QStringLiteral("restore"), fbk, target, QStringLiteral("--replace")});
    ASSERT_EQ(replaced.code, 0) << replaced.err.toStdString();
    EXPECT_EQ(count(target, QStringLiteral("DOCU")), count(db, QStringLiteral("DOCU")));
}

TEST_F(Backup, ABackupOfAnotherStructureVersionIsReportedAndNotPutInPlace) {
    execute(db, QStringLiteral("CREATE OR ALTER PROCEDURE P_VERSION RETURNS (VER_NAME VARCHAR(10)) AS "
                               "BEGIN VER_NAME = '1.1.5'; SUSPEND; END"));
    ASSERT_EQ(obrixDb({QStringLiteral("backup"), db, fbk}).code, 0);

    const QString fresh = path("fresh.fdb");
    const ToolRun intoNew = obrixDb({QStringLiteral("restore"), fbk, fresh});
    EXPECT_EQ(intoNew.code, 1);
    EXPECT_TRUE(intoNew.err.contains(QStringLiteral("(1.1.5)"))) << intoNew.err.toStdString();
    EXPECT_TRUE(intoNew.err.contains(QStringLiteral("(1.1.6)")));
    EXPECT_FALSE(QFile::exists(fresh));

    const QString working = testdb::freshCopy(dir, testdb::Template::Empty, QStringLiteral("working.fdb"));
    const ToolRun overOld = obrixDb({QStringLiteral("restore"), fbk, working, QStringLiteral("--replace")});
    EXPECT_EQ(overOld.code, 1);
    EXPECT_TRUE(overOld.err.contains(QStringLiteral("прежняя оставлена"))) << overOld.err.toStdString();
    fb::Attachment att(working);
    fb::Transaction tra(att);
    EXPECT_EQ(fb::scalar(tra, QStringLiteral("SELECT VER_NAME FROM P_VERSION")).toString(), QStringLiteral("1.1.6"));
}

TEST_F(Backup, AFailedOrStoppedBackupLeavesTheEarlierBackupAsItWas) {
    writeFile(fbk, "yesterday's backup");
    {
        fb::Attachment inUse(db);  // the engine of another process cannot open it
        const ToolRun failed = obrixDb({QStringLiteral("backup"), db, fbk});
        EXPECT_EQ(failed.code, 1);
        EXPECT_TRUE(failed.err.contains(QStringLiteral("открыта другой программой"))) << failed.err.toStdString();
    }
    EXPECT_EQ(readFile(fbk), QByteArray("yesterday's backup"));

    // Stopped: the engine's own connection is ended, the program's is not.
    fb::Attachment program(db);
    int lines = 0;
    EXPECT_THROW(fb::backupDatabase(db, fbk, [&](const QString&) { ++lines; }, [&] { return lines >= 3; }),
                 fb::ServiceCancelled);
    EXPECT_GE(lines, 3);
    EXPECT_EQ(readFile(fbk), QByteArray("yesterday's backup"));
    {
        fb::Transaction tra(program);
        EXPECT_GT(fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM DOCU")).toInt(), 0);
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("work.fbk.*")}, QDir::Files).size(), 0);

    // The backup cannot be written over the database itself.
    EXPECT_THROW(fb::backupDatabase(db, db), std::runtime_error);
    EXPECT_EQ(count(db, QStringLiteral("DOCU")) > 0, true);
}

TEST_F(Backup, RefusalsNameTheFileAndTheReason) {
    writeFile(path("notes.txt"), "not a backup");
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{QStringLiteral("backup"), path("missing.fdb"), fbk}, "Файл базы данных не найден"},
        {{QStringLiteral("backup"), db, path("no-such-folder/x.fbk")}, "Не удалось создать файл резервной копии"},
        {{QStringLiteral("restore"), path("missing.fbk"), path("x.fdb")}, "Файл резервной копии не найден"},
        {{QStringLiteral("restore"), path("notes.txt"), path("x.fdb")}, "не является резервной копией"},
        {{QStringLiteral("restore"), db, path("x.fdb")}, "не является резервной копией"},
    };
    for (const auto& c : cases) {
        const ToolRun r = obrixDb(c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.args[1]) || r.err.contains(c.args[2])) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("x.fdb")));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The engine's service worker may still be on its way out just after a
    // backup reported its end; leave without unloading the engine under it.
    std::fflush(nullptr);
    std::_Exit(result);
}
