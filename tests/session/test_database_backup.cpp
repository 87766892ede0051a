// The backup's rules without a window: the file offered and taken, the
// engine's work, and what the clerk is told.
#include "session/DatabaseBackup.h"

#include "TestDatabase.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DatabaseBackup, TheFileOfferedAndTakenAndWhatTheClerkIsTold) {
    const QDate day(2027, 1, 15);
    EXPECT_EQ(SuggestedBackupFile(QStringLiteral("/data/shop/obrix.fdb"), day),
              QStringLiteral("/data/shop/obrix-2027-01-15.fbk"));
    for (const QString& elsewhere : {QStringLiteral("srv/3052:/data/obrix.fdb"), QString()})
        EXPECT_EQ(SuggestedBackupFile(elsewhere, day), QDir(QDir::homePath()).filePath("obrix-2027-01-15.fbk"))
            << elsewhere.toStdString();
    EXPECT_EQ(BackupTargetFile(QStringLiteral("/tmp/copy")), QStringLiteral("/tmp/copy.fbk"));
    EXPECT_EQ(BackupTargetFile(QStringLiteral("/tmp/copy.bak")), QStringLiteral("/tmp/copy.bak"));
    EXPECT_EQ(BackupTargetFile(QString()), QString());

    TGL gl;
    gl.DostupBookUser = true;
    EXPECT_TRUE(BackupCommandEnabled(true, gl));
    EXPECT_FALSE(BackupCommandEnabled(false, gl));
    gl.DostupBookUser = false;
    EXPECT_FALSE(BackupCommandEnabled(true, gl));

    const QString file = QStringLiteral("/tmp/b.fbk");
    struct Case { TBackupResult result; bool existed; TNoticeKind kind; QString text; };
    const Case cases[] = {
        {{TBackupOutcome::Done, {}}, true, TNoticeKind::Information,
         QStringLiteral("Резервная копия базы данных создана:\r/tmp/b.fbk")},
        {{TBackupOutcome::Cancelled, {}}, false, TNoticeKind::Warning,
         QStringLiteral("Резервная копия не создана: работа прервана.")},
        {{TBackupOutcome::Cancelled, {}}, true, TNoticeKind::Warning,
         QStringLiteral("Резервная копия не создана: работа прервана.\rПрежний файл /tmp/b.fbk оставлен как был.")},
        {{TBackupOutcome::Failed, QStringLiteral("Нет места.\rdisk full")}, false, TNoticeKind::Stop,
         QStringLiteral("Резервная копия не создана.\rНет места.\rdisk full")},
        {{TBackupOutcome::None, {}}, false, TNoticeKind::None, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const TNotice notice = BackupResultNotice(c.result, file, c.existed);
        EXPECT_EQ(notice.kind, c.kind);
        EXPECT_EQ(notice.text, c.text);
    }
}

TEST(DatabaseBackup, TheEngineWritesTheCopyOrSaysWhyWithoutThrowing) {
    QTemporaryDir dir;
    const QString database = testdb::freshCopy(dir);
    const QString target = dir.filePath(QStringLiteral("copy.fbk"));
    std::atomic_bool stop{false};
    QStringList lines;
    const auto line = [&lines](const QString& text) { lines << text; };

    TBackupResult done = RunDatabaseBackup(database, target, line, stop);
    EXPECT_EQ(done.outcome, TBackupOutcome::Done) << done.failure.toStdString();
    EXPECT_TRUE(done.failure.isEmpty());
    EXPECT_GT(QFileInfo(target).size(), 0);
    EXPECT_FALSE(lines.isEmpty()) << "the engine's lines are passed on";

    const TBackupResult failed = RunDatabaseBackup(dir.filePath(QStringLiteral("missing.fdb")),
                                                   dir.filePath(QStringLiteral("other.fbk")), {}, stop);
    EXPECT_EQ(failed.outcome, TBackupOutcome::Failed);
    EXPECT_FALSE(failed.failure.isEmpty());
    EXPECT_FALSE(failed.failure.contains(QLatin1Char('\n'))) << "lines are parted by \\r";
}
