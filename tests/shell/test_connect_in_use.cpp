// A second program started on a local database file that another process
// already has open: the embedded engine opens a file for one process only.
#include "ShellFixture.h"
#include "ui/MessageBoxes.h"
#include "data/DataErrors.h"
#include "fb/DbError.h"
#include "shell/ConnectDB.h"

#include <QProcess>

using namespace shelltest;

namespace {

class ConnectInUse : public ShellTest {
protected:
    void TearDown() override {
        if (holder.state() != QProcess::NotRunning) {
            holder.closeWriteChannel();
            holder.waitForFinished(10000);
        }
        ShellTest::TearDown();
    }
    // Another process opens the test's database and keeps it open.
    void holdElsewhere() {
        holder.start(QStringLiteral(DB_HOLDER), {dbPath});
        ASSERT_TRUE(holder.waitForStarted(10000));
        while (!holder.canReadLine()) ASSERT_TRUE(holder.waitForReadyRead(20000)) << holder.readAllStandardError().constData();
        ASSERT_EQ(holder.readLine().trimmed(), QByteArray("ready"));
    }
    bool connDB(ModalScript& script) {
        script.answerOk();
        return Window<TfrmConnectDB>("frmConnectDB")->ConnDB();
    }
    QProcess holder;
};

}  // namespace

TEST_F(ConnectInUse, TheClerkIsToldWhichFileIsOpenInAnotherProgramNotTheEngineText) {
    holdElsewhere();
    ModalScript script;
    EXPECT_FALSE(connDB(script));
    EXPECT_FALSE(GL.Connected);
    EXPECT_FALSE(DM().isConnected());
    ASSERT_EQ(script.messages().size(), 1);
    const MessageRequest& m = script.messages()[0];
    EXPECT_EQ(m.flags, mbStopOk);
    EXPECT_EQ(m.caption, VendorTitle());
    EXPECT_EQ(m.text, QStringLiteral("База данных «") + dbPath +
                          QStringLiteral("» открыта другой программой. Закройте ее и повторите подключение."));

    // Once the other program has closed the file, the same settings connect.
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(holder.exitCode(), 0);
    ModalScript again;
    EXPECT_TRUE(connDB(again));
    EXPECT_TRUE(again.messages().isEmpty());
}
