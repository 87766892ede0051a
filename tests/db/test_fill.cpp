// The demo and benchmark databases are consistent the way the program keeps data.
#include "DbFixture.h"

#include "db/DocWriter.h"

using namespace dbtest;
using fb::Decimal;
using fb::Value;

namespace {

// Checks shared by the demo and the benchmark: money follows the lines.
void expectConsistent(const std::function<Rows(const QString&)>& rows) {
    // Order totals: TOTAL = sum of the service lines; deviation in kopecks; debt.
    const Rows orders = rows(
        "SELECT D.ID, D.TOTAL, D.OTKLTYPE, D.OTKLPROC, D.OTKLSUM, D.TOTAL_WOTKL, D.RECEIVED, D.DEBT, "
        "(SELECT COALESCE(SUM(U.SUMMA), 0) FROM UMOVES U WHERE U.DOC_ID = D.ID) FROM DOCU D");
    ASSERT_FALSE(orders.empty());
    for (const Row& r : orders) {
        SCOPED_TRACE(r[0].toInt());
        const Decimal total = r[1].toDecimal();
        EXPECT_EQ(total, r[8].toDecimal());
        const int type = int(r[2].toInt());
        const Decimal otkl = r[4].toDecimal();
        EXPECT_EQ(otkl, type == 0 ? Decimal() : total.percent(Decimal(int(r[3].toInt())), 2));
        EXPECT_EQ(r[5].toDecimal(), type == 1 ? total - otkl : type == 2 ? total + otkl : total);
        EXPECT_EQ(r[7].toDecimal(), r[5].toDecimal() - r[6].toDecimal());
    }
    // Stock lines: SUMMA = KOLVO x CENA in kopecks; documents: SUMMA = sum of the lines.
    EXPECT_TRUE(rows("SELECT ID FROM MOVES WHERE SUMMA <> CAST(KOLVO * CENA AS NUMERIC(15,2)) "
                     "OR (CENA_REALIZ IS NOT NULL AND SUMMA_REALIZ <> CAST(KOLVO * CENA_REALIZ AS NUMERIC(15,2)))")
                    .empty());
    EXPECT_TRUE(rows("SELECT D.ID FROM DOCS D WHERE D.SUMMA <> "
                     "(SELECT COALESCE(SUM(M.SUMMA), 0) FROM MOVES M WHERE M.DOC_ID = D.ID)")
                    .empty());
    EXPECT_TRUE(rows("SELECT D.ID FROM DOCS D WHERE D.KINDDOC_ID = 103 AND D.SUMMA_REALIZ <> "
                     "(SELECT SUM(M.SUMMA_REALIZ) FROM MOVES M WHERE M.DOC_ID = D.ID)")
                    .empty());
    // Counts kept by the database agree with the documents.
    EXPECT_TRUE(rows("SELECT R.ID FROM RPERIOD R WHERE R.DOCU_CNT <> (SELECT COUNT(*) FROM DOCU D WHERE D.RPERIOD_ID = R.ID) "
                     "OR R.DOCS_CNT <> (SELECT COUNT(*) FROM DOCS D WHERE D.RPERIOD_ID = R.ID)")
                    .empty());
    // Every kind of stock document occurs, automatic write-offs point to their orders.
    for (int kind : {101, 102, 103, 107, 108})
        EXPECT_FALSE(rows(QStringLiteral("SELECT FIRST 1 ID FROM DOCS WHERE KINDDOC_ID = %1").arg(kind)).empty()) << kind;
    EXPECT_FALSE(rows("SELECT FIRST 1 D.ID FROM DOCS D JOIN DOCU U ON U.ID = D.DOCU_ID "
                      "WHERE D.KINDDOC_ID = 102 AND D.DATEDOC = U.DATEP").empty());
    // Periods: all but the last closed, the last open; the stock chain is unbroken.
    const Rows periods = rows("SELECT ID, ACT, SUM_OST, SUM_OST1 FROM RPERIOD ORDER BY ID");
    ASSERT_GE(periods.size(), 2u);
    for (size_t i = 0; i < periods.size(); ++i) {
        const bool last = i + 1 == periods.size();
        EXPECT_EQ(periods[i][1].toString(), last ? "*" : "#") << i;
        EXPECT_FALSE(periods[i][2].isNull()) << i;
        if (!last) { EXPECT_EQ(periods[i + 1][2].toDecimal(), periods[i][3].toDecimal()) << i; }
    }
    // Stock of the last period, worked out through every close, equals all movements ever made.
    const qint64 lastId = periods.back()[0].toInt();
    const Rows viaProc = rows(QStringLiteral("SELECT COUNT(*), SUM(KOLVO), SUM(SUMMA) FROM P_NALICHALL(%1)").arg(lastId));
    const Rows direct = rows(
        "SELECT COUNT(*), SUM(K), SUM(S) FROM (SELECT M.TOVAR_ID, SUM(M.KOLVO * KD.OPER) K, SUM(M.SUMMA * KD.OPER) S "
        "FROM MOVES M JOIN DOCS D ON D.ID = M.DOC_ID JOIN KINDDOC KD ON KD.ID = D.KINDDOC_ID "
        "GROUP BY M.TOVAR_ID HAVING SUM(M.KOLVO * KD.OPER) <> 0 OR SUM(M.SUMMA * KD.OPER) <> 0)");
    EXPECT_EQ(viaProc[0][0].toInt(), direct[0][0].toInt());
    EXPECT_EQ(viaProc[0][1].toDecimal(), direct[0][1].toDecimal());
    EXPECT_EQ(viaProc[0][2].toDecimal(), direct[0][2].toDecimal());
}

}  // namespace

class FillTest : public DbTest {};

TEST_F(FillTest, DemoIsARealisticConsistentWorkshop) {
    const QDate today(2026, 12, 9);
    obrixdb::fillDemo(*att, today);
    expectConsistent([this](const QString& sql) { return rows(sql); });

    EXPECT_EQ(count("RPERIOD"), 3);
    const Rows last = rows("SELECT DATE_1, DATE_2 FROM RPERIOD WHERE ID = (SELECT MAX(ID) FROM RPERIOD)");
    EXPECT_LE(last[0][0].toDate(), today);
    EXPECT_GE(last[0][1].toDate(), today);
    EXPECT_EQ(count("RPERIOD", "SUM_OST = 0"), 1);
    EXPECT_GE(count("DOCU"), 30);
    EXPECT_LE(count("DOCU", "DATEP > ?", {today}), 0);
    EXPECT_GE(count("TOVAR"), 40);
    EXPECT_GE(count("ZAKAZCH"), 30);
    for (int kind : {1, 2, 3}) {
        EXPECT_GT(count("USLUGAGR", "KINDDOC_ID = ?", {kind}), 0) << kind;
        EXPECT_GT(count("PRODUCTGR", "KINDDOC_ID = ?", {kind}), 0) << kind;
        EXPECT_GT(count("DOCU", "KINDDOC_ID = ?", {kind}), 0) << kind;
    }
    EXPECT_GT(count("USLTOV"), 10);
    for (int type : {0, 1, 2}) EXPECT_GT(count("DOCU", "OTKLTYPE = ?", {type}), 0) << type;
    EXPECT_GT(count("DOCU", "DEBT > 0"), 0);
    EXPECT_GT(count("PMOVES", "COLOR_ID IS NOT NULL AND MATERIAL_ID IS NOT NULL AND PPARA IS NOT NULL"), 0);
    // The generators stand above every row the demo wrote.
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_TOVAR_ID").toInt(), scalar("SELECT MAX(ID) FROM TOVAR").toInt());
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_DOCU_ID").toInt(), scalar("SELECT MAX(ID) FROM DOCU").toInt());
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_USLUGAGR_ID").toInt(), scalar("SELECT MAX(ID) FROM USLUGAGR").toInt());
    EXPECT_EQ(scalar("EXECUTE PROCEDURE GET_MAX_DOCU_NUMBER").toInt(), count("DOCU"));
    EXPECT_EQ(scalar("EXECUTE PROCEDURE GET_MAX_DOCS_NUMBER").toInt(), count("DOCS"));
}

TEST_F(FillTest, BenchOfOneYearHasMonthlyPeriodsAllButTheLastClosed) {
    int calls = 0, lastDone = 0, lastTotal = 0;
    obrixdb::fillBench(*att, 1, [&](const QString&, int done, int total) {
        ++calls;
        lastDone = done;
        lastTotal = total;
    }, QDate(2026, 12, 9));
    EXPECT_EQ(calls, 12);
    EXPECT_EQ(lastDone, 12);
    EXPECT_EQ(lastTotal, 12);
    expectConsistent([this](const QString& sql) { return rows(sql); });
    EXPECT_EQ(count("RPERIOD"), 12);
    EXPECT_EQ(count("TOVAR"), 5000);
    EXPECT_EQ(count("ZAKAZCH"), 2000);
    EXPECT_NEAR(double(count("DOCU")), 20000.0, 1000.0);
    EXPECT_NEAR(double(count("MOVES")), 40000.0 + 5000.0, 6000.0);  // a year's lines and the opening receipt
    const Rows first = rows("SELECT DATE_1 FROM RPERIOD WHERE ID = (SELECT MIN(ID) FROM RPERIOD)");
    EXPECT_EQ(first[0][0].toDate(), QDate(2026, 1, 1));
}

TEST(OrderTotals, FollowTheEditorRules) {
    obrixdb::Order o;
    o.services = {{1, dec("100.10")}};
    o.otklType = 1;
    o.otklProc = 7;
    auto t = obrixdb::orderTotals(o);
    EXPECT_EQ(t.total, dec("100.10"));
    EXPECT_EQ(t.otklSum, dec("7.01"));  // 7 % of 100.10 = 7.007
    EXPECT_EQ(t.totalWotkl, dec("93.09"));
    EXPECT_EQ(t.debt, Decimal());
    o.otklType = 2;
    o.paidInFull = false;
    o.received = dec("50");
    t = obrixdb::orderTotals(o);
    EXPECT_EQ(t.totalWotkl, dec("107.11"));
    EXPECT_EQ(t.debt, dec("57.11"));
    o.otklType = 0;
    t = obrixdb::orderTotals(o);
    EXPECT_EQ(t.otklSum, Decimal());
    EXPECT_EQ(t.totalWotkl, dec("100.10"));
}
