// Structure, required rows, keys and numbering procedures, group procedures, counts.
#include "DbFixture.h"

using namespace dbtest;
using fb::Decimal;
using fb::Value;

class SchemaTest : public DbTest {
protected:
    // A period, reference rows, an order and a stock document to hang lines on.
    void basics() {
        exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
             "VALUES (1, '2026-01-01', '2026-01-31', '*', 0, 0, 0)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
        exec("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 1, 'Клей Наирит', 450)");
        exec("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 350)");
        exec("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)");
        exec("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Ботинки')");
        exec("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, PRIEMSCHIK_ID, "
             "TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, GARANT) "
             "VALUES (1, 1, 1, 'АА', 1, '2026-01-10', 1, 1, 350, 0, 0, 0, 350, 350, 0, 3)");
        exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
             "VALUES (1, 101, 1, '2026-01-05', '1', 0)");
    }
};

TEST_F(SchemaTest, ReportsVersionBothWays) {
    EXPECT_EQ(scalar("SELECT VER_NAME FROM P_VERSION").toString(), "1.1.6");
    EXPECT_EQ(scalar("EXECUTE PROCEDURE P_VERSION").toString(), "1.1.6");
}

TEST_F(SchemaTest, RequiredRowsExist) {
    EXPECT_EQ(count("UCHINFO"), 1);
    EXPECT_EQ(scalar("SELECT AUTOSKLAD FROM UCHINFO").toString(), "T");
    EXPECT_EQ(scalar("SELECT DVDELTA FROM UCHINFO").toInt(), 3);
    EXPECT_EQ(scalar("SELECT SERDEF FROM UCHINFO").toString(), QStringLiteral("АА"));

    struct Kind { int id, type; std::optional<int> oper; };
    for (const Kind k : {Kind{1, 1, {}}, Kind{2, 1, {}}, Kind{3, 1, {}}, Kind{101, 2, 1}, Kind{102, 2, -1},
                         Kind{103, 2, -1}, Kind{107, 2, 1}, Kind{108, 2, -1}}) {
        const Rows r = rows("SELECT TYPEDOC, OPER, NAME FROM KINDDOC WHERE ID = ?", {k.id});
        ASSERT_EQ(r.size(), 1u) << k.id;
        EXPECT_EQ(r[0][0].toInt(), k.type) << k.id;
        if (k.oper) { EXPECT_EQ(r[0][1].toInt(), *k.oper) << k.id; }
        EXPECT_FALSE(r[0][2].toString().isEmpty());
    }
    EXPECT_EQ(count("KINDDOC"), 8);

    EXPECT_EQ(count("ZAKAZCH", "ID = 1"), 1);
    EXPECT_EQ(count("GARANT", "ID = 3"), 1);
    EXPECT_EQ(count("ROLETAB"), 2);
    const Rows op = rows("SELECT FIO, PASSWD, ROLE_ID, ZAK_VIEW || ZAK_INSERT || ZAK_EDIT || ZAK_DELETE || "
                         "SKL_VIEW || SKL_INSERT || SKL_EDIT || SKL_DELETE || DOSTUP_BOOK || DOSTUP_BOOKUSER "
                         "FROM PRIEMSCHIK WHERE ID = 1");
    ASSERT_EQ(op.size(), 1u);
    EXPECT_EQ(op[0][1].toString(), "");
    EXPECT_EQ(op[0][2].toInt(), 2);
    EXPECT_EQ(op[0][3].toString(), "TTTTTTTTTT");
    for (const char* t : {"TOVARGR", "USLUGAGR", "PRODUCTGR"})
        EXPECT_EQ(count(t, "ID = 0 AND PARENT_ID = -1 AND LEVELI = 0"), 1) << t;
    for (const char* t : {"PPARA", "GARANT", "COLOR", "MATERIAL", "COMMENT"}) EXPECT_GE(count(t), 3) << t;
    EXPECT_EQ(count("RPERIOD"), 0);
}

TEST_F(SchemaTest, TextColumnsAreWin1251) {
    EXPECT_EQ(scalar("SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE").toString(), "WIN1251");
    EXPECT_EQ(count("RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE",
                    "F.RDB$FIELD_TYPE IN (14, 37) AND COALESCE(RF.RDB$SYSTEM_FLAG, 0) = 0 "
                    "AND F.RDB$CHARACTER_SET_ID <> 52"),
              0);
}

TEST_F(SchemaTest, ConstraintNamesAreTheDocumentedOnes) {
    const char* const expected[] = {
        "PK_DOCU", "PK_PMOVES", "PK_UMOVES", "PK_DOCS", "PK_MOVES", "PK_RPERIOD", "PK_KINDDOC", "PK_ZAKAZCH",
        "PK_PRIEMSCHIK", "PK_ROLETAB", "PK_TOVARGR", "PK_USLUGAGR", "PK_PRODUCTGR", "PK_TOVAR", "PK_USLUGA",
        "PK_PRODUCT", "PK_COLOR", "PK_MATERIAL", "PK_COMMENT", "PK_PPARA", "PK_GARANT", "PK_OSTATKI",
        "FK_DOCU_1", "FK_DOCU_2", "FK_DOCU_3", "FK_DOCU_4", "FK_DOCU_5",
        "FK_PMOVES_1", "FK_PMOVES_2", "FK_PMOVES_3", "FK_PMOVES_4", "FK_PMOVES_5",
        "FK_UMOVES_1", "FK_UMOVES_2", "FK_DOCS_1", "FK_DOCS_2", "FK_DOCS_3", "FK_MOVES_1", "FK_MOVES_2",
        "FK_TOVAR_1", "FK_USLUGA_1", "FK_PRODUCT_1", "FK_USLTOV_1", "FK_USLTOV_2", "FK_PRIEMSCHIK_1",
        "FK_USLUGAGR_2", "FK_PRODUCTGR_2", "FK_OSTATKI_1", "FK_OSTATKI_2", "PK_DOC_COUNTER",
    };
    QStringList actual;
    for (const Row& r : rows("SELECT TRIM(RDB$CONSTRAINT_NAME) FROM RDB$RELATION_CONSTRAINTS "
                             "WHERE RDB$CONSTRAINT_TYPE IN ('PRIMARY KEY', 'FOREIGN KEY')"))
        actual << r[0].toString();
    for (const char* name : expected) EXPECT_TRUE(actual.contains(QLatin1String(name))) << name;
    EXPECT_EQ(actual.size(), int(std::size(expected)));
}

TEST_F(SchemaTest, KeyProceduresNeverRepeatAValue) {
    struct Case { const char* proc; const char* table; };
    const Case cases[] = {{"GET_DOCU_ID", "DOCU"}, {"GET_DOCS_ID", "DOCS"}, {"GET_RPERIOD_ID", "RPERIOD"},
                          {"GET_PMOVES_ID", "PMOVES"}, {"GET_UMOVES_ID", "UMOVES"}, {"GET_MOVES_ID", "MOVES"},
                          {"GET_TOVAR_ID", "TOVAR"}, {"GET_TOVARGR_ID", "TOVARGR"},
                          {"GET_USLUGAGR_ID", "USLUGAGR"}, {"GET_PRODUCTGR_ID", "PRODUCTGR"}};
    basics();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proc);
        const qint64 a = scalar(QStringLiteral("SELECT ID FROM %1").arg(c.proc)).toInt();
        {
            // A drawn value is gone even when its transaction rolls back.
            fb::Transaction tra(*att);
            fb::scalar(tra, QStringLiteral("EXECUTE PROCEDURE %1").arg(c.proc));
            tra.rollback();
        }
        const qint64 b = scalar(QStringLiteral("EXECUTE PROCEDURE %1").arg(c.proc)).toInt();
        EXPECT_GT(a, 0);
        EXPECT_GT(b, a + 1);
    }
    // A row stored with a key above the generator pushes the generator past that key.
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (5000, 101, 1, '2026-01-05', '7', 0)");
    EXPECT_GT(scalar("SELECT ID FROM GET_DOCS_ID").toInt(), 5000);
    exec("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (900, 1, 'Импортированный')");
    EXPECT_GT(scalar("SELECT ID FROM GET_TOVAR_ID").toInt(), 900);
}

TEST_F(SchemaTest, NppProceduresGoAboveEveryLine) {
    basics();
    exec("INSERT INTO PMOVES (ID, DOC_ID, NUM, PRODUCT_ID, NPP) VALUES (1, 1, 1, 1, 700)");
    exec("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (1, 1, 1, 1, 350, 800)");
    exec("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP) VALUES (1, 1, 1, 1, 450, 450, 900)");
    for (const char* t : {"PMOVES", "UMOVES", "MOVES"}) {
        SCOPED_TRACE(t);
        const qint64 maxNpp = scalar(QStringLiteral("SELECT MAX(NPP) FROM %1").arg(t)).toInt();
        const qint64 a = scalar(QStringLiteral("SELECT NPP FROM GET_%1_NPP").arg(t)).toInt();
        const qint64 b = scalar(QStringLiteral("EXECUTE PROCEDURE GET_%1_NPP").arg(t)).toInt();
        EXPECT_GT(a, maxNpp);
        EXPECT_GT(b, a);
    }
    // Swapping two lines' NPP (moving a line) keeps the procedure above both.
    exec("UPDATE PMOVES SET NPP = 5000 WHERE ID = 1");
    EXPECT_GT(scalar("SELECT NPP FROM GET_PMOVES_NPP").toInt(), 5000);
}

TEST_F(SchemaTest, MaxKeyProceduresAreNullOnEmptyTables) {
    const char* const tables[] = {"ZAKAZCH", "PRIEMSCHIK", "TOVAR", "USLUGA", "PRODUCT", "COLOR", "MATERIAL", "COMMENT"};
    for (const char* t : tables) {
        SCOPED_TRACE(t);
        exec(QStringLiteral("DELETE FROM %1").arg(t));
        EXPECT_TRUE(scalar(QStringLiteral("SELECT ID FROM GET_MAX_%1_ID").arg(t)).isNull());
        EXPECT_TRUE(scalar(QStringLiteral("EXECUTE PROCEDURE GET_MAX_%1_ID").arg(t)).isNull());
    }
    exec("INSERT INTO COLOR (ID, NAME) VALUES (41, 'Оливковый')");
    exec("INSERT INTO COLOR (ID, NAME) VALUES (7, 'Голубой')");
    EXPECT_EQ(scalar("EXECUTE PROCEDURE GET_MAX_COLOR_ID").toInt(), 41);
    exec("INSERT INTO ZAKAZCH (ID, NAME) VALUES (12, 'Иванов')");
    EXPECT_EQ(scalar("SELECT ID FROM GET_MAX_ZAKAZCH_ID").toInt(), 12);
}

TEST_F(SchemaTest, MaxDocuNumberIsNullUntilTheFirstOrder) {
    EXPECT_TRUE(scalar("EXECUTE PROCEDURE GET_MAX_DOCU_NUMBER").isNull());
    basics();
    exec("INSERT INTO DOCU (KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, PRIEMSCHIK_ID, "
         "TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT) "
         "VALUES (2, 1, 'АА', 17, '2026-01-11', 1, 1, 0, 0, 0, 0, 0, 0, 0)");
    EXPECT_EQ(scalar("EXECUTE PROCEDURE GET_MAX_DOCU_NUMBER").toInt(), 17);
    EXPECT_EQ(scalar("SELECT MAXNUM FROM GET_MAX_DOCU_NUMBER").toInt(), 17);
}

TEST_F(SchemaTest, MaxDocsNumberTakesTheGreatestWholeNumber) {
    exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
         "VALUES (1, '2026-01-01', '2026-01-31', '*', 0, 0, 0)");
    EXPECT_TRUE(scalar("EXECUTE PROCEDURE GET_MAX_DOCS_NUMBER").isNull());
    struct Step { const char* number; std::optional<int> expected; };
    const Step steps[] = {{"А-5", std::nullopt}, {"9", 9}, {"10", 10}, {"7", 10}, {" 12 ", 12},
                          {"99999999999999", 12}, {"0013", 13}, {"14а", 13}, {"", 13}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.number);
        exec("INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (101, 1, '2026-01-02', ?, 0)",
             {QString::fromUtf8(s.number)});
        const Value v = scalar("EXECUTE PROCEDURE GET_MAX_DOCS_NUMBER");
        if (s.expected) EXPECT_EQ(v.toInt(), *s.expected);
        else EXPECT_TRUE(v.isNull());
    }
}

TEST_F(SchemaTest, WriteOffStatementsAsTheOrderEditorSendsThem) {
    basics();
    exec("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 0.5, 3)");
    exec("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP) "
         "SELECT ID, 1, 1, 1, 450, 450, NPP FROM GET_MOVES_ID CROSS JOIN GET_MOVES_NPP");
    const qint64 docsId = scalar("EXECUTE PROCEDURE GET_DOCS_ID").toInt();
    const qint64 number = scalar("EXECUTE PROCEDURE GET_MAX_DOCS_NUMBER").toInt() + 1;
    exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, COMMENT, DOCU_ID)  "
                        "VALUES (%1, 102, 1, '10.01.2026', '%2', 0, '', 1 )").arg(docsId).arg(number));
    exec(QStringLiteral("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA)  VALUES (%1, 1, 2, 10, 20)").arg(docsId));
    exec(QStringLiteral("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA)  VALUES (%1, 1, 0.5, 3, 1.5)").arg(docsId));
    exec(QStringLiteral("UPDATE DOCS SET SUMMA=21.5 WHERE ID=%1").arg(docsId));

    EXPECT_EQ(scalar("SELECT DATEDOC FROM DOCS WHERE ID = ?", {docsId}).toDate(), QDate(2026, 1, 10));
    EXPECT_EQ(scalar("SELECT NUMBER FROM DOCS WHERE ID = ?", {docsId}).toString(), "2");
    const Rows lines = rows("SELECT ID, NPP, SUMMA FROM MOVES ORDER BY NPP");
    ASSERT_EQ(lines.size(), 3u);
    // The lines got keys of their own and sort after the line inserted before them.
    EXPECT_FALSE(lines[1][0].isNull());
    EXPECT_NE(lines[1][0].toInt(), lines[2][0].toInt());
    EXPECT_NE(lines[0][0].toInt(), lines[1][0].toInt());
    EXPECT_LT(lines[0][1].toInt(), lines[1][1].toInt());
    EXPECT_LT(lines[1][1].toInt(), lines[2][1].toInt());
    EXPECT_EQ(lines[2][2].toDecimal(), dec("1.5"));
    // The next key drawn is above the keys the database gave.
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_MOVES_ID").toInt(), lines[2][0].toInt());
    EXPECT_GT(scalar("EXECUTE PROCEDURE GET_MOVES_ID").toInt(), lines[1][0].toInt());
}

TEST_F(SchemaTest, CountsFollowTheDocumentsOfEachPeriod) {
    basics();
    exec("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT) VALUES (2, '2026-02-01', '2026-02-28', '*', 0, 0)");
    auto counts = [this](int id) {
        const Rows r = rows("SELECT DOCU_CNT, DOCS_CNT FROM RPERIOD WHERE ID = ?", {id});
        return std::pair{r.at(0)[0].toInt(), r.at(0)[1].toInt()};
    };
    EXPECT_EQ(counts(1), std::pair(qint64(1), qint64(1)));
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (2, 103, 2, '2026-02-05', '2', 0)");
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (3, 103, 2, '2026-02-06', '3', 0)");
    EXPECT_EQ(counts(2), std::pair(qint64(0), qint64(2)));
    exec("UPDATE DOCU SET RPERIOD_ID = 2 WHERE ID = 1");
    exec("UPDATE DOCS SET RPERIOD_ID = 1 WHERE ID = 3");
    exec("UPDATE DOCS SET COMMENT = 'x' WHERE ID = 3");
    EXPECT_EQ(counts(1), std::pair(qint64(0), qint64(2)));
    EXPECT_EQ(counts(2), std::pair(qint64(1), qint64(1)));
    exec("DELETE FROM DOCS WHERE ID = 3");
    exec("DELETE FROM DOCU WHERE ID = 1");
    EXPECT_EQ(counts(1), std::pair(qint64(0), qint64(1)));
    EXPECT_EQ(counts(2), std::pair(qint64(0), qint64(1)));
    {
        // Counting inside a transaction that rolls back leaves the counts as they were.
        fb::Transaction tra(*att);
        fb::exec(tra, "INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (4, 101, 2, '2026-02-07', '4', 0)");
        tra.rollback();
    }
    EXPECT_EQ(counts(2), std::pair(qint64(0), qint64(1)));
}

class GroupTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        // Товары / Клей / Наирит / Фасованный ;  Товары / Набойки
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 1, 'Наирит', 2)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (3, 2, 'Фасованный', 3)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (4, 0, 'Набойки', 1)");
        // A group whose parent is not there (left by an import) and a group that is its own parent.
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (5, 77, 'Сирота', 1)");
        exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (6, 6, 'Петля', 1)");
    }
};

TEST_F(GroupTest, FullPathRunsFromTheRoot) {
    struct Case { int id; const char* path; };
    const Case cases[] = {{0, "Товары"}, {1, "Товары/Клей"}, {2, "Товары/Клей/Наирит"},
                          {3, "Товары/Клей/Наирит/Фасованный"}, {4, "Товары/Набойки"}, {5, "Сирота"},
                          {6, "Петля"}};
    for (const Case& c : cases) {
        const Rows r = rows("SELECT FP FROM P_FULLPATH(?)", {c.id});
        ASSERT_EQ(r.size(), 1u) << c.id;
        EXPECT_EQ(r[0][0].toString(), QString::fromUtf8(c.path)) << c.id;
    }
    const Rows none = rows("SELECT FP FROM P_FULLPATH(999)");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_TRUE(none[0][0].isNull());
}

TEST_F(GroupTest, IsChildTellsDescendantsStrictly) {
    struct Case { Value gr1, gr2; int res; };
    const Case cases[] = {
        {0, 1, 1}, {0, 3, 1}, {1, 2, 1}, {1, 3, 1}, {2, 3, 1},   // below, at any depth
        {3, 1, 0}, {2, 1, 0}, {4, 2, 0}, {1, 4, 0},              // above or beside
        {1, 1, 0}, {0, 0, 0},                                    // a group is not below itself
        {0, 5, 0}, {6, 6, 0}, {1, 6, 0}, {0, 999, 0},            // orphans, loops, unknown
        {Value(), 1, 0}, {1, Value(), 0},
    };
    for (const Case& c : cases) {
        const Rows r = rows("SELECT RES FROM ISCHILDGR(?, ?)", {c.gr1, c.gr2});
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(r[0][0].toInt(), c.res) << c.gr1.toString().toStdString() << " " << c.gr2.toString().toStdString();
    }
}

TEST_F(GroupTest, ReportFilterWithSubgroupsFindsTheWholeBranch) {
    exec("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (1, 1, 'Клей общий')");
    exec("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (2, 3, 'Наирит 0,5')");
    exec("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (3, 4, 'Набойка')");
    const Rows r = rows("SELECT T.ID FROM TOVAR T JOIN TOVARGR TG ON T.GR_ID = TG.ID "
                        "WHERE (TG.ID=1 OR (SELECT RES FROM ISCHILDGR(1,T.GR_ID))=1) ORDER BY T.ID");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0][0].toInt(), 1);
    EXPECT_EQ(r[1][0].toInt(), 2);
}
