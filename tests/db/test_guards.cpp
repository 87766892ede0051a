// What the database itself refuses, whichever program or workstation writes:
// documents of a closed period, a second identical accompanying good, numbers
// past their range; and how it numbers new documents.
#include "DbFixture.h"

using namespace dbtest;

namespace {

class GuardTest : public DbTest {
protected:
    // Period 1 with one order (a product line, a service line) and one stock
    // document with a line, written while open; `closed` closes it afterwards.
    void seed(bool closed) {
        exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
             "VALUES (1, '2026-01-01', '2026-01-31', '*', 0, 0, 0)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
        exec("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 1, 'Клей Наирит', 450)");
        exec("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 350)");
        exec("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Ботинки')");
        exec(insertOrder(1, "5"));
        exec("INSERT INTO PMOVES (ID, DOC_ID, NUM, PRODUCT_ID, NPP) VALUES (1, 1, 1, 1, 1)");
        exec("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (1, 1, 1, 1, 350, 1)");
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (1, 101, 1, '2026-01-05', '1', 450)");
        exec("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP) VALUES (1, 1, 1, 1, 450, 450, 1)");
        if (closed) exec("UPDATE RPERIOD SET ACT = '#' WHERE ID = 1");
    }
    static QString insertOrder(int id, const char* number) {
        return QStringLiteral("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, "
                              "PRIEMSCHIK_ID, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, GARANT) "
                              "VALUES (%1, 1, 1, 'АА', %2, '2026-01-10', 1, 1, 350, 0, 0, 0, 350, 350, 0, 3)")
            .arg(id)
            .arg(QString::fromLatin1(number));
    }
    // The name of the exception the database raised for `sql`, the constraint, or "<no error>".
    QString refusedBy(const QString& sql) {
        try {
            exec(sql);
        } catch (const fb::DbError& e) {
            if (!e.exceptionName().isEmpty()) return e.exceptionName();
            return e.constraintName().isEmpty() ? e.serverText() : e.constraintName();
        }
        return QStringLiteral("<no error>");
    }
};

}  // namespace

TEST_F(GuardTest, DatabasesAreWrittenWithForcedWrites) {
    EXPECT_EQ(scalar("SELECT MON$FORCED_WRITES FROM MON$DATABASE").toInt(), 1);
}

TEST_F(GuardTest, DocumentsOfAClosedPeriodAreFrozenButTheHandOverMayBeRecorded) {
    seed(true);
    const QString closed = QStringLiteral("E_PERIOD_CLOSED");
    const struct {
        QString sql;
        QString expected;
    } cases[] = {
        {insertOrder(2, "6"), closed},
        {"UPDATE DOCU SET TOTAL = 400 WHERE ID = 1", closed},
        {"UPDATE DOCU SET RPERIOD_ID = 1 WHERE ID = 1", "<no error>"},  // nothing changes
        {"UPDATE DOCU SET DATEVYD = '2026-02-03', VREMVYD = '12:00' WHERE ID = 1", "<no error>"},
        {"DELETE FROM DOCU WHERE ID = 1", closed},
        {"INSERT INTO PMOVES (DOC_ID, NUM, PRODUCT_ID) VALUES (1, 2, 1)", closed},
        {"UPDATE PMOVES SET PROCIZN = 10 WHERE ID = 1", closed},
        {"DELETE FROM PMOVES WHERE ID = 1", closed},
        {"INSERT INTO UMOVES (DOC_ID, NUM, USLUGA_ID, SUMMA) VALUES (1, 2, 1, 1)", closed},
        {"UPDATE UMOVES SET SUMMA = 1 WHERE ID = 1", closed},
        {"DELETE FROM UMOVES WHERE ID = 1", closed},
        {"INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (101, 1, '2026-01-06', '2', 0)", closed},
        {"UPDATE DOCS SET COMMENT = 'x' WHERE ID = 1", closed},
        {"DELETE FROM DOCS WHERE ID = 1", closed},
        {"INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (1, 1, 1, 1, 1)", closed},
        {"UPDATE MOVES SET KOLVO = 2 WHERE ID = 1", closed},
        {"DELETE FROM MOVES WHERE ID = 1", closed},
    };
    for (const auto& c : cases) EXPECT_EQ(refusedBy(c.sql), c.expected) << c.sql.toStdString();
    EXPECT_EQ(count("UMOVES"), 1);
    EXPECT_EQ(count("MOVES"), 1);
    EXPECT_EQ(scalar("SELECT DATEVYD FROM DOCU WHERE ID = 1").toDate(), QDate(2026, 2, 3));

    // Deleting the whole period still takes its documents and lines along.
    EXPECT_EQ(refusedBy("DELETE FROM RPERIOD WHERE ID = 1"), "<no error>");
    for (const char* t : {"DOCU", "PMOVES", "UMOVES", "DOCS", "MOVES"}) EXPECT_EQ(count(t), 0) << t;
}

TEST_F(GuardTest, AnOpenPeriodTakesEveryChange) {
    seed(false);
    EXPECT_EQ(refusedBy("UPDATE UMOVES SET SUMMA = 1 WHERE ID = 1"), "<no error>");
    EXPECT_EQ(refusedBy("DELETE FROM DOCU WHERE ID = 1"), "<no error>");
    EXPECT_EQ(refusedBy("DELETE FROM DOCS WHERE ID = 1"), "<no error>");
}

TEST_F(GuardTest, AGoodIsListedOnceForAService) {
    seed(false);
    EXPECT_EQ(refusedBy("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 1, 450)"), "<no error>");
    EXPECT_EQ(refusedBy("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 1, 450)"), "UNQ1_USLTOV");
}

TEST_F(GuardTest, NewDocumentsAreNumberedByTheDatabaseAndNumbersNeverWrap) {
    seed(false);
    exec(insertOrder(2, "NULL"));
    EXPECT_EQ(scalar("SELECT NUMBER FROM DOCU WHERE ID = 2").toInt(), 6);
    exec(insertOrder(3, "3"));  // a number given is kept, even below the greatest
    EXPECT_EQ(scalar("SELECT NUMBER FROM DOCU WHERE ID = 3").toInt(), 3);
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (2, 101, 1, '2026-01-06', 'А-9', 0)");
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (3, 102, 1, '2026-01-06', NULL, 0)");
    EXPECT_EQ(scalar("SELECT NUMBER FROM DOCS WHERE ID = 3").toString(), "2");

    exec("UPDATE DOCU SET NUMBER = 2147483647 WHERE ID = 3");
    EXPECT_EQ(refusedBy(insertOrder(4, "NULL")), "E_NUMBER_RANGE");
    exec("UPDATE DOCS SET NUMBER = '999999999' WHERE ID = 3");
    EXPECT_EQ(refusedBy("INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
                        "VALUES (102, 1, '2026-01-07', NULL, 0)"),
              "E_NUMBER_RANGE");
    EXPECT_EQ(count("DOCU"), 3);
    EXPECT_EQ(count("DOCS"), 3);
}
