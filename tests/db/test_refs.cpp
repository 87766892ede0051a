// References between tables: what deleting a row takes with it, and what is refused.
#include "DbFixture.h"

using namespace dbtest;
using fb::Value;

class RefsTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
             "VALUES (1, '2026-01-01', '2026-01-31', '*', 0, 0, 0)");
        exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT) "
             "VALUES (2, '2026-02-01', '2026-02-28', '*', 0, 0)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 1, 'Наирит', 2)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (3, 0, 'Пустая', 1)");
        exec("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 2, 'Клей Наирит', 450)");
        exec("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (2, 1, 'Клей секундный', 35)");
        exec("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (3, 1, 'Только в списке услуги', 10)");
        exec("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (2, 0, 'Ключи', 1, 2)");
        exec("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Профилактика', 900)");
        exec("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (2, 1, 'Растяжка', 400)");
        exec("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 0.05, 450)");
        exec("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (2, 3, 1, 10)");
        exec("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (2, 1, 'Зимняя', 2, 1)");
        exec("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Ботинки')");
        exec("INSERT INTO ROLETAB (ID, NAME) VALUES (3, 'Стажер')");
        exec("INSERT INTO PRIEMSCHIK (ID, FIO, PASSWD, ROLE_ID, ZAK_VIEW, ZAK_INSERT, ZAK_EDIT, ZAK_DELETE, "
             "SKL_VIEW, SKL_INSERT, SKL_EDIT, SKL_DELETE, DOSTUP_BOOK, DOSTUP_BOOKUSER) "
             "VALUES (2, 'Иванова', '1', 1, 'T', 'T', 'T', 'F', 'T', 'F', 'F', 'F', 'F', 'F')");
        exec("INSERT INTO ZAKAZCH (ID, NAME) VALUES (2, 'Петров')");
        addOrder(1, 1);
        addOrder(2, 2);
        // Order 1 in period 1 with an automatic write-off in period 1; order 2 in period 2.
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, COMMENT, DOCU_ID) "
             "VALUES (1, 102, 1, '2026-01-10', '1', 22.5, '', 1)");
        exec("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (1, 1, 0.05, 450, 22.5)");
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (2, 101, 1, '2026-01-03', '2', 485)");
        exec("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (2, 1, 1, 450, 450)");
        exec("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (2, 2, 1, 35, 35)");
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (3, 103, 2, '2026-02-03', '3', 35)");
        exec("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (3, 2, 1, 35, 35)");
    }
    void addOrder(int id, int period) {
        exec("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, PRIEMSCHIK_ID, "
             "TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, GARANT) "
             "VALUES (?, 1, ?, 'АА', ?, '2026-01-10', 2, 2, 900, 0, 0, 0, 900, 900, 0, 3)",
             {id, period, id});
        exec("INSERT INTO PMOVES (DOC_ID, NUM, PRODUCT_ID, COLOR_ID, MATERIAL_ID, PPARA, PROCIZN) "
             "VALUES (?, 1, 1, 2, 3, 1, 50)", {id});
        exec("INSERT INTO PMOVES (DOC_ID, NUM, PRODUCT_ID) VALUES (?, 2, 1)", {id});
        exec("INSERT INTO UMOVES (DOC_ID, NUM, USLUGA_ID, SUMMA) VALUES (?, 1, 1, 900)", {id});
    }
};

TEST_F(RefsTest, DeletingAnOrderTakesItsLinesAndWriteOffs) {
    exec("DELETE FROM DOCU WHERE ID = 1");
    EXPECT_EQ(count("PMOVES", "DOC_ID = 1"), 0);
    EXPECT_EQ(count("UMOVES", "DOC_ID = 1"), 0);
    EXPECT_EQ(count("DOCS", "ID = 1"), 0);
    EXPECT_EQ(count("MOVES", "DOC_ID = 1"), 0);
    // Everything else stays.
    EXPECT_EQ(count("PMOVES", "DOC_ID = 2"), 2);
    EXPECT_EQ(count("UMOVES", "DOC_ID = 2"), 1);
    EXPECT_EQ(count("DOCS"), 2);
    EXPECT_EQ(count("MOVES"), 3);
    EXPECT_EQ(scalar("SELECT DOCU_CNT FROM RPERIOD WHERE ID = 1").toInt(), 0);
    EXPECT_EQ(scalar("SELECT DOCS_CNT FROM RPERIOD WHERE ID = 1").toInt(), 1);
}

TEST_F(RefsTest, DeletingAStockDocumentTakesItsLines) {
    exec("DELETE FROM DOCS WHERE ID = 2");
    EXPECT_EQ(count("MOVES", "DOC_ID = 2"), 0);
    EXPECT_EQ(count("MOVES"), 2);
    EXPECT_EQ(count("DOCU"), 2);
}

TEST_F(RefsTest, DeletingAPeriodTakesItsDocumentsAndLines) {
    exec("DELETE FROM RPERIOD WHERE ID = 1");
    EXPECT_EQ(count("DOCU"), 1);
    EXPECT_EQ(count("DOCU", "RPERIOD_ID = 1"), 0);
    EXPECT_EQ(count("DOCS", "RPERIOD_ID = 1"), 0);
    EXPECT_EQ(count("PMOVES"), 2);
    EXPECT_EQ(count("UMOVES"), 1);
    EXPECT_EQ(count("MOVES"), 1);
    EXPECT_EQ(count("PMOVES", "DOC_ID NOT IN (SELECT ID FROM DOCU)"), 0);
    EXPECT_EQ(scalar("SELECT DOCU_CNT || '/' || DOCS_CNT FROM RPERIOD WHERE ID = 2").toString(), "1/1");
}

TEST_F(RefsTest, DeletingAUsedReferenceRowIsRefusedByName) {
    struct Case { const char* sql; const char* constraint; const char* stillThere; };
    const Case cases[] = {
        {"DELETE FROM COLOR WHERE ID = 2", "FK_PMOVES_3", "COLOR WHERE ID = 2"},
        {"DELETE FROM MATERIAL WHERE ID = 3", "FK_PMOVES_4", "MATERIAL WHERE ID = 3"},
        {"DELETE FROM PPARA WHERE ID = 1", "FK_PMOVES_5", "PPARA WHERE ID = 1"},
        {"DELETE FROM PRODUCT WHERE ID = 1", "FK_PMOVES_2", "PRODUCT WHERE ID = 1"},
        {"DELETE FROM USLUGA WHERE ID = 1", "FK_UMOVES_2", "USLUGA WHERE ID = 1"},
        {"DELETE FROM TOVAR WHERE ID = 2", "FK_MOVES_2", "TOVAR WHERE ID = 2"},
        {"DELETE FROM TOVAR WHERE ID = 3", "FK_USLTOV_2", "TOVAR WHERE ID = 3"},
        {"DELETE FROM ZAKAZCH WHERE ID = 2", "FK_DOCU_3", "ZAKAZCH WHERE ID = 2"},
        {"DELETE FROM PRIEMSCHIK WHERE ID = 2", "FK_DOCU_4", "PRIEMSCHIK WHERE ID = 2"},
        {"DELETE FROM GARANT WHERE ID = 3", "FK_DOCU_5", "GARANT WHERE ID = 3"},
        {"DELETE FROM KINDDOC WHERE ID = 3", "FK_DOCU_1", "KINDDOC WHERE ID = 3"},
        {"DELETE FROM KINDDOC WHERE ID = 101", "FK_DOCS_1", "KINDDOC WHERE ID = 101"},
        {"DELETE FROM KINDDOC WHERE ID = 2", "FK_USLUGAGR_2", "KINDDOC WHERE ID = 2"},
        {"DELETE FROM ROLETAB WHERE ID = 1", "FK_PRIEMSCHIK_1", "ROLETAB WHERE ID = 1"},
        {"DELETE FROM TOVARGR WHERE ID = 2", "FK_TOVAR_1", "TOVARGR WHERE ID = 2"},
        {"DELETE FROM TOVARGR WHERE ID = 1", "FK_TOVARGR_1", "TOVARGR WHERE ID = 1"},
        {"DELETE FROM TOVARGR WHERE ID = 0", "FK_TOVARGR_1", "TOVARGR WHERE ID = 0"},
        {"DELETE FROM USLUGAGR WHERE ID = 1", "FK_USLUGA_1", "USLUGAGR WHERE ID = 1"},
        {"DELETE FROM USLUGAGR WHERE ID = 0", "FK_USLUGAGR_1", "USLUGAGR WHERE ID = 0"},
        {"DELETE FROM PRODUCTGR WHERE ID = 1", "FK_PRODUCTGR_1", "PRODUCTGR WHERE ID = 1"},
        {"DELETE FROM PRODUCTGR WHERE ID = 2", "FK_PRODUCT_1", "PRODUCTGR WHERE ID = 2"},
    };
    // PRODUCTGR 2 holds no product yet: give it one for its case.
    exec("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (2, 2, 'Унты')");
    // Kind 3 is used by an order only.
    exec("UPDATE DOCU SET KINDDOC_ID = 3 WHERE ID = 2");
    for (const Case& c : cases) {
        EXPECT_EQ(refusal(QString::fromLatin1(c.sql)), QLatin1String(c.constraint)) << c.sql;
        const QString where = QString::fromLatin1(c.stillThere);
        const int sp = int(where.indexOf(' '));
        EXPECT_EQ(count(where.left(sp), where.mid(sp + 7)), 1) << c.sql;
    }
    // The order keeps its line with the colour.
    EXPECT_EQ(count("PMOVES", "COLOR_ID = 2"), 2);
}

TEST_F(RefsTest, UnusedRowsDelete) {
    EXPECT_EQ(refusal("DELETE FROM COLOR WHERE ID = 1"), "<no error>");
    EXPECT_EQ(refusal("DELETE FROM TOVARGR WHERE ID = 3"), "<no error>");
    EXPECT_EQ(refusal("DELETE FROM ROLETAB WHERE ID = 3"), "<no error>");
    // A service nobody ordered goes with its accompanying goods.
    EXPECT_EQ(refusal("DELETE FROM USLUGA WHERE ID = 2"), "<no error>");
    EXPECT_EQ(count("USLTOV", "USLUGA_ID = 2"), 0);
    EXPECT_EQ(count("USLTOV"), 1);
}

TEST_F(RefsTest, LinesMustReferToExistingRows) {
    EXPECT_EQ(refusal("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (2, 999, 1, 1, 1)"), "FK_MOVES_2");
    EXPECT_EQ(refusal("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (999, 1, 1, 1, 1)"), "FK_MOVES_1");
    EXPECT_EQ(refusal("INSERT INTO PMOVES (DOC_ID, NUM, PRODUCT_ID, COLOR_ID) VALUES (1, 3, 1, 999)"), "FK_PMOVES_3");
    EXPECT_EQ(refusal("INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (101, 99, '2026-01-01', '5', 0)"),
              "FK_DOCS_2");
    EXPECT_EQ(refusal("INSERT INTO COLOR (ID, NAME) VALUES (2, 'Дубль')"), "PK_COLOR");
}
