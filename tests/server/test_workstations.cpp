// Two workstations sharing one database through the network server.
#include "ServerDatabase.h"
#include "data/ClientDataSet.h"
#include "data/Field.h"
#include "data/DataErrors.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/core/DocuCalc.h"
#include "orders/core/DocuSave.h"
#include "data/ErrorTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QUuid>
#include <gtest/gtest.h>

#include <functional>
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
    QString db;
    std::unique_ptr<fb::Attachment> a, b;
};

// One shared row as a workstation's window edits and saves it.
class RowEditor {
public:
    virtual ~RowEditor() = default;
    // Types `text` into the row (an order also gets another service line).
    virtual void change(const QString& text) = 0;
    // Saves as the window does; empty when saved, else the message the error window gets.
    virtual QString save() = 0;
    virtual QString shown() const = 0;  // the text as the window holds it
    virtual bool pending() const = 0;   // unsaved changes kept for another try
    virtual void reread() = 0;          // drops them and rereads (F5)
};

// A reference book's row: the colour's name, applied on its own.
class BookRow : public RowEditor {
public:
    BookRow(fb::Attachment& att, qint64 id) : m_id(id), ds(nullptr, "cdsColor") {
        ds.setAttachment(&att);
        ds.setCommandText("SELECT * FROM COLOR ORDER BY ID");
        ds.open();
        reread();
    }
    void change(const QString& text) override {
        ds.edit();
        ds.fieldByName("NAME").setAsString(text);
        ds.post();
    }
    QString save() override { return ds.applyUpdates() == 0 ? QString() : ds.lastApplyError(); }
    QString shown() const override { return ds.fieldByName("NAME").asString(); }
    bool pending() const override { return ds.updatesPending(); }
    void reread() override {
        ds.cancelUpdates();
        ds.refresh();
        ds.locate("ID", fb::Value(m_id));
    }

private:
    qint64 m_id;
    TClientDataSet ds;
};

// A service order: the journal's row with its rules and the order's service
// lines, saved through the order's document service.
class OrderRow : public RowEditor {
public:
    OrderRow(fb::Attachment& att, qint64 id) : m_id(id), docu(nullptr, "cdsDocu"), umoves(nullptr, "cdsUMoves") {
        docu.setAttachment(&att);
        docu.setCommandText("SELECT * FROM DOCU WHERE RPERIOD_ID = 900 ORDER BY DATEP, NUMBER");
        docu.open();
        AttachDocuRules(docu);
        umoves.setAttachment(&att);
        umoves.setCommandText("SELECT * FROM UMOVES WHERE DOC_ID = :CURDOC_ID ORDER BY NPP");
        umoves.query().setParam("CURDOC_ID", m_id);
        pmoves.setAttachment(&att);
        pmoves.setCommandText("SELECT * FROM PMOVES WHERE DOC_ID = :CURDOC_ID ORDER BY NPP");
        pmoves.query().setParam("CURDOC_ID", m_id);
        umoves.open();
        pmoves.open();
        reread();
    }
    void change(const QString& text) override {
        fb::Transaction tra(docu.attachment());
        const qint64 lineId = fb::scalar(tra, "SELECT ID FROM GET_UMOVES_ID").toInt();
        const qint64 npp = fb::scalar(tra, "SELECT NPP FROM GET_UMOVES_NPP").toInt();
        tra.commit();
        umoves.append();
        umoves.fieldByName("ID").setAsInteger(int(lineId));
        umoves.fieldByName("DOC_ID").setAsInteger(int(m_id));
        umoves.fieldByName("NUM").setAsInteger(umoves.recordCount());
        umoves.fieldByName("USLUGA_ID").setAsInteger(1);
        umoves.fieldByName("SUMMA").setAsDecimal(fb::Decimal(150));
        umoves.fieldByName("NPP").setAsInteger(int(npp));
        umoves.post();
        docu.locate("ID", fb::Value(m_id));
        CalcTotal(docu, umoves);
        docu.edit();
        docu.fieldByName("COMMENT").setAsString(text);
        docu.post();
    }
    QString save() override {
        try {
            TDocuSaveInput in;
            in.periodId = 900;
            in.periodOpen = true;
            in.autoSklad = true;
            SaveDocu(docu, pmoves, umoves, in);
            return {};
        } catch (...) {
            return errorMessage(std::current_exception());
        }
    }
    QString shown() const override { return docu.fieldByName("COMMENT").asString(); }
    bool pending() const override { return docu.updatesPending() && umoves.updatesPending(); }
    void reread() override {
        for (TClientDataSet* ds : {&docu, &umoves, &pmoves}) {
            ds->cancelUpdates();
            ds->refresh();
        }
        docu.locate("ID", fb::Value(m_id));
    }

private:
    qint64 m_id;
    TClientDataSet docu, umoves, pmoves{nullptr, "cdsPMoves"};
};

TEST_F(Workstations, TheLaterWriterOfARowIsToldAnotherUserChangedItAndKeepsItsChangesToRedo) {
    {
        fb::Transaction tra(*a);
        fb::exec(tra, "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (900, '2026-12-01', '2026-12-31', '*')");
        fb::exec(tra, "INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        fb::exec(tra, "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 150)");
        fb::exec(tra, "INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, DATEP, ZAKAZCH_ID, PRIEMSCHIK_ID, TOTAL, "
                      "OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT) "
                      "VALUES (7, 1, 900, 'АА', '2026-12-09', 1, 1, 0, 0, 0, 0, 0, 0, 0)");
        tra.commit();
    }
    const qint64 colour = [&] {
        fb::Transaction tra(*a);
        return fb::scalar(tra, "SELECT MIN(ID) FROM COLOR").toInt();
    }();
    ASSERT_GT(colour, 0);
    struct Case {
        const char* what;
        qint64 id;
        std::function<std::unique_ptr<RowEditor>(fb::Attachment&)> open;
        const char* textInDatabase;   // the saved text of the shared row
        const char* linesInDatabase;  // what of the order's lines is saved, or null
    };
    const Case cases[] = {
        {"a colour of the book", colour, [&](fb::Attachment& att) { return std::make_unique<BookRow>(att, colour); },
         "SELECT NAME FROM COLOR WHERE ID = ?", nullptr},
        {"an order", 7, [&](fb::Attachment& att) { return std::make_unique<OrderRow>(att, 7); },
         "SELECT COMMENT FROM DOCU WHERE ID = ?", "SELECT COUNT(*) || ' ' || MAX(TOTAL) FROM UMOVES JOIN DOCU "
                                                  "ON DOCU.ID = UMOVES.DOC_ID WHERE DOC_ID = ?"},
    };
    const QString changedElsewhere = QStringLiteral("Запись изменена или удалена другим пользователем.");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto inDatabase = [&](const char* sql) {
            fb::Transaction tra(*a);
            return fb::scalar(tra, QString::fromUtf8(sql), {c.id}).toString();
        };
        auto first = c.open(*a);
        auto second = c.open(*b);

        first->change("Бордовый");
        EXPECT_EQ(first->save(), QString());
        second->change("Вишнёвый");
        const QString refusal = second->save();
        EXPECT_EQ(refusal, ERecordChanged::text());
        EXPECT_EQ(explainApplyError(refusal).explanation, changedElsewhere);
        // Nothing of the first is lost; the second's changes wait in memory.
        EXPECT_EQ(inDatabase(c.textInDatabase), "Бордовый");
        if (c.linesInDatabase) { EXPECT_EQ(inDatabase(c.linesInDatabase), "1 150.00"); }
        EXPECT_EQ(second->shown(), "Вишнёвый");
        EXPECT_TRUE(second->pending());

        // Reread, redone: the second workstation's edit goes through on top of the first's.
        second->reread();
        EXPECT_EQ(second->shown(), "Бордовый");
        second->change("Вишнёвый");
        EXPECT_EQ(second->save(), QString());
        EXPECT_FALSE(second->pending());
        EXPECT_EQ(inDatabase(c.textInDatabase), "Вишнёвый");
        if (c.linesInDatabase) { EXPECT_EQ(inDatabase(c.linesInDatabase), "2 300.00"); }
    }
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
