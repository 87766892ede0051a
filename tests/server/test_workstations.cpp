// Two workstations sharing one database through the network server.
#include "ServerDatabase.h"
#include "data/ClientDataSet.h"
#include "data/Field.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QUuid>
#include <gtest/gtest.h>

#include <set>

namespace {

using servertest::serverDatabase;

class Workstations : public ::testing::Test {
protected:
    void SetUp() override {
        db = serverDatabase();
        if (db.isEmpty()) {
            if (qEnvironmentVariableIsSet("OBRIX_TEST_SERVER_REQUIRED")) FAIL() << "the test server is not set up";
            GTEST_SKIP() << "no test server (run through tools/setup.sh test)";
        }
        ASSERT_TRUE(fb::isNetworkDatabase(db));
        obrixdb::createDatabase(db);
        a = std::make_unique<fb::Attachment>(db);
        b = std::make_unique<fb::Attachment>(db);
    }
    std::unique_ptr<TClientDataSet> colours(fb::Attachment& att) {
        auto ds = std::make_unique<TClientDataSet>(nullptr, "cdsColor");
        ds->setAttachment(&att);
        ds->setCommandText("SELECT * FROM COLOR ORDER BY ID");
        ds->open();
        return ds;
    }
    QString nameInDatabase(qint64 id) {
        fb::Transaction tra(*a);
        return fb::scalar(tra, "SELECT NAME FROM COLOR WHERE ID = ?", {id}).toString();
    }
    QString db;
    std::unique_ptr<fb::Attachment> a, b;
};

TEST_F(Workstations, TheLaterWriterOfARowIsRefusedAndKeepsItsChangePending) {
    auto first = colours(*a);
    auto second = colours(*b);
    ASSERT_FALSE(first->isEmpty());
    const qint64 id = first->fieldByName("ID").value().toInt();
    ASSERT_TRUE(second->locate("ID", fb::Value(id)));

    first->edit();
    first->fieldByName("NAME").setAsString("Бордовый");
    first->post();
    EXPECT_EQ(first->applyUpdates(), 0);

    second->edit();
    second->fieldByName("NAME").setAsString("Вишнёвый");
    second->post();
    EXPECT_NE(second->applyUpdates(), 0);
    EXPECT_EQ(second->lastApplyError(), "Record not found or changed by another user");
    EXPECT_EQ(second->fieldByName("NAME").asString(), "Вишнёвый");  // still pending in memory
    EXPECT_EQ(nameInDatabase(id), "Бордовый");

    // After rereading, the second workstation's edit goes through.
    second->cancelUpdates();
    second->refresh();
    ASSERT_TRUE(second->locate("ID", fb::Value(id)));
    second->edit();
    second->fieldByName("NAME").setAsString("Вишнёвый");
    second->post();
    EXPECT_EQ(second->applyUpdates(), 0);
    EXPECT_EQ(nameInDatabase(id), "Вишнёвый");
}

TEST_F(Workstations, KeysDrawnOnBothWorkstationsNeverRepeat) {
    std::set<qint64> seen;
    for (int i = 0; i < 20; ++i) {
        for (fb::Attachment* att : {a.get(), b.get()}) {
            fb::Transaction tra(*att);
            fb::Statement s(tra, "EXECUTE PROCEDURE GET_DOCU_ID");
            s.execute();
            const qint64 id = s.value("ID").toInt();
            EXPECT_TRUE(seen.insert(id).second) << "key handed out twice: " << id;
            // The caller discards the key: it is still never handed out again.
        }
    }
}

TEST_F(Workstations, AStockLineOfOneWorkstationBlocksDeletingItsGoodsOnTheOther) {
    fb::Transaction tra(*a);
    const qint64 tovar = fb::scalar(tra, "SELECT FIRST 1 ID FROM TOVAR").toInt();
    if (tovar == 0) {
        fb::exec(tra, "INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (1, 0, 'Клей')");
    }
    const qint64 tovarId = tovar ? tovar : 1;
    fb::exec(tra, "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (900, '2026-12-01', '2026-12-31', '*')");
    fb::exec(tra, "INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
                  "VALUES (900, 101, 900, '2026-12-09', '1', 10)");
    fb::exec(tra, "INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (900, ?, 1, 10, 10)", {tovarId});
    tra.commit();

    fb::Transaction other(*b);
    try {
        fb::exec(other, "DELETE FROM TOVAR WHERE ID = ?", {tovarId});
        FAIL() << "goods in use were deleted";
    } catch (const fb::DbError& e) {
        EXPECT_EQ(e.constraintName(), "FK_MOVES_2") << e.message().toStdString();
    }
}

TEST_F(Workstations, ThreeProcessesCreatingOrdersAtOnceGetDistinctNumbers) {
    {
        fb::Transaction tra(*a);
        fb::exec(tra, "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (900, '2026-12-01', '2026-12-31', '*')");
        fb::exec(tra, "INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        fb::exec(tra, "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 150)");
        tra.commit();
    }
    a->close();
    b->close();
    constexpr int kProcesses = 3, kOrders = 40;
    servertest::ensureApplication();
    const QString writer = QStringLiteral(ORDER_WRITER);
    std::vector<std::unique_ptr<QProcess>> procs;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kProcesses; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(writer, {db, "900", QString::number(kOrders)});
        ASSERT_TRUE(p->waitForStarted(10000));
        procs.push_back(std::move(p));
    }
    std::set<qint64> numbers;
    QStringList errors;
    int told = 0;
    for (auto& p : procs) {
        ASSERT_TRUE(p->waitForFinished(300000));
        for (const QString& line : QString::fromUtf8(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith("ERROR")) {
                errors << line;
                continue;
            }
            ++told;
            EXPECT_TRUE(numbers.insert(line.section(' ', 1, 1).toLongLong()).second) << "number given twice: "
                                                                                     << line.toStdString();
        }
    }
    const qint64 ms = timer.elapsed();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(told, kProcesses * kOrders);
    std::printf("%d processes created %d orders in %lld ms\n", kProcesses, told, ms);
    fb::Attachment check(db);
    fb::Transaction tra(check);
    EXPECT_EQ(fb::scalar(tra, "SELECT COUNT(*) FROM DOCU WHERE RPERIOD_ID = 900").toInt(), told);
    EXPECT_EQ(fb::scalar(tra, "SELECT COUNT(DISTINCT NUMBER) FROM DOCU").toInt(),
              fb::scalar(tra, "SELECT COUNT(*) FROM DOCU").toInt());
    EXPECT_EQ(fb::scalar(tra, "SELECT COUNT(*) FROM UMOVES").toInt(), told);
    EXPECT_EQ(fb::scalar(tra, "SELECT DOCU_CNT FROM RPERIOD WHERE ID = 900").toInt(), told);
}

}  // namespace
