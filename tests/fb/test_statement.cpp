// The Firebird layer against a real embedded database.
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fb;

class FbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("t.fdb");
        att = Attachment::create(path);
        att->executeImmediate(
            "CREATE TABLE T (ID INTEGER NOT NULL CONSTRAINT PK_T PRIMARY KEY, NAME VARCHAR(30), "
            "FLAG CHAR(1), SUMMA NUMERIC(15,2), KOLVO NUMERIC(15,3), D DATE)");
        att->executeImmediate(
            "CREATE TABLE C (ID INTEGER NOT NULL PRIMARY KEY, T_ID INTEGER CONSTRAINT FK_C_1 REFERENCES T(ID))");
        att->executeImmediate(
            "CREATE PROCEDURE P_ADD (A INTEGER, B NUMERIC(15,2)) RETURNS (R NUMERIC(15,2)) AS BEGIN R = A + B; END");
    }
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<Attachment> att;
};

TEST_F(FbTest, RoundTripsEveryValueKind) {
    {
        Transaction tra(*att);
        exec(tra, "INSERT INTO T (ID, NAME, FLAG, SUMMA, KOLVO, D) VALUES (?, ?, ?, ?, ?, ?)",
             {1, QStringLiteral("Набойки «Профи» №5 ё"), QStringLiteral("T"), Decimal::fromString("1.15"),
              Decimal::fromString("1.5"), QDate(2009, 3, 5)});
        exec(tra, "INSERT INTO T (ID) VALUES (?)", {2});
        tra.commit();
    }
    Transaction tra(*att);
    Statement s(tra, "SELECT ID, NAME, FLAG, SUMMA, KOLVO, D FROM T ORDER BY ID");
    s.execute();
    ASSERT_TRUE(s.fetch());
    EXPECT_EQ(s.value("NAME").toString(), QStringLiteral("Набойки «Профи» №5 ё"));
    EXPECT_EQ(s.value("FLAG").toString(), "T");
    EXPECT_EQ(s.value("SUMMA").kind(), Value::Kind::Dec);
    EXPECT_EQ(s.value("SUMMA").toDecimal().toString(2), "1.15");
    EXPECT_EQ(s.value("KOLVO").toDecimal().toString(3), "1.500");
    EXPECT_EQ(s.value("D").toDate(), QDate(2009, 3, 5));
    ASSERT_TRUE(s.fetch());
    EXPECT_TRUE(s.value("NAME").isNull());
    EXPECT_TRUE(s.value("SUMMA").isNull());
    EXPECT_FALSE(s.fetch());
    // Column descriptions drive the client dataset's fields.
    const auto& cols = s.columns();
    EXPECT_EQ(cols[1].type, Column::Type::VarChar);
    EXPECT_EQ(cols[1].length, 30);
    EXPECT_EQ(cols[2].type, Column::Type::Char);
    EXPECT_EQ(cols[3].type, Column::Type::Decimal);
    EXPECT_EQ(cols[3].scale, 2);
    EXPECT_EQ(cols[4].scale, 3);
    EXPECT_FALSE(cols[0].nullable);
}

TEST_F(FbTest, NamedParametersAndProcedures) {
    Transaction tra(*att);
    exec(tra, "INSERT INTO T (ID, NAME) VALUES (1, 'a')");
    exec(tra, "INSERT INTO T (ID, NAME) VALUES (2, 'b')");
    Statement s(tra, "SELECT COUNT(*) FROM T WHERE ID >= :LO AND ID <= :HI AND NAME <> ':NOT_A_PARAM'");
    EXPECT_EQ(s.paramNames(), QStringList({"LO", "HI"}));
    s.set("lo", 2);
    s.set("HI", 5);
    s.execute();
    ASSERT_TRUE(s.fetch());
    EXPECT_EQ(s.value(0).toInt(), 1);
    EXPECT_THROW(s.set("NOPE", 1), std::invalid_argument);

    Statement p(tra, "EXECUTE PROCEDURE P_ADD(?, ?)");
    p.set(0, 2);
    p.set(1, Decimal::fromString("0.15"));
    p.execute();
    EXPECT_EQ(p.value("R").toDecimal().toString(2), "2.15");
    EXPECT_EQ(scalar(tra, "SELECT MAX(ID) FROM T WHERE ID > 10").isNull(), true);
}

TEST_F(FbTest, AffectedRowsAndRollback) {
    {
        Transaction tra(*att);
        exec(tra, "INSERT INTO T (ID) VALUES (1)");
        Statement u(tra, "UPDATE T SET NAME = ? WHERE ID = ?");
        u.set(0, "x");
        u.set(1, 99);
        u.execute();
        EXPECT_EQ(u.affectedRows(), 0);
        // Leaving the scope without commit rolls the insert back.
    }
    Transaction tra(*att);
    EXPECT_EQ(scalar(tra, "SELECT COUNT(*) FROM T").toInt(), 0);
}

TEST_F(FbTest, ErrorsCarryTheServerTextAndConstraint) {
    Transaction tra(*att);
    try {
        exec(tra, "INSERT INTO C (ID, T_ID) VALUES (1, 42)");
        FAIL() << "foreign key not enforced";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().startsWith(
            "Database Server Error: violation of FOREIGN KEY constraint \"FK_C_1\" on table \"C\""))
            << e.message().toStdString();
        EXPECT_EQ(e.constraintName(), "FK_C_1");
        EXPECT_FALSE(e.gdsCodes().empty());
        EXPECT_NE(e.sqlCode(), 0);
    }
    EXPECT_THROW(Statement(tra, "SELECT * FROM NO_SUCH_TABLE"), DbError);
}

TEST_F(FbTest, RefusesTextOutsideWin1251) {
    Transaction tra(*att);
    try {
        exec(tra, "INSERT INTO T (ID, NAME) VALUES (?, ?)", {1, QStringLiteral("галочка ✓")});
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains(QStringLiteral("Windows-1251")));
    }
    EXPECT_EQ(scalar(tra, "SELECT COUNT(*) FROM T").toInt(), 0);
}

TEST(FbNames, NetworkDatabaseStrings) {
    EXPECT_TRUE(isNetworkDatabase("localhost/3052:/var/db/x.fdb"));
    EXPECT_TRUE(isNetworkDatabase("server:/data/x.fdb"));
    EXPECT_FALSE(isNetworkDatabase("/home/u/x.fdb"));
    EXPECT_FALSE(isNetworkDatabase("C:\\db\\x.fdb"));
    EXPECT_FALSE(isNetworkDatabase("x.fdb"));
}

TEST(FbAttach, MissingFileGivesDbError) {
    EXPECT_THROW(Attachment("/nonexistent/dir/x.fdb"), DbError);
}

TEST_F(FbTest, WhatCannotBeSentIsAnErrorNotANull) {
    {
        Transaction tra(*att);
        exec(tra, "INSERT INTO T (ID, NAME) VALUES (1, 'Старый комментарий')");
        tra.commit();
    }
    Transaction tra(*att);
    Statement unset(tra, "UPDATE T SET NAME = ? WHERE ID = :ID");
    unset.set(QStringLiteral("ID"), 1);
    try {
        unset.execute();
        FAIL() << "ran with a parameter never set";
    } catch (const std::invalid_argument& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Не задано значение параметра 1")))
            << e.what();
    }
    for (int length : {32766, 65536, 70000}) {
        Statement longText(tra, "UPDATE T SET NAME = ? WHERE ID = 1");
        longText.set(0, QString(length, QChar('a')));
        EXPECT_THROW(longText.execute(), std::invalid_argument) << length;
    }
    tra.commit();
    Transaction check(*att);
    EXPECT_EQ(scalar(check, "SELECT NAME FROM T WHERE ID = 1").toString(), QStringLiteral("Старый комментарий"));
}

TEST_F(FbTest, TextIsComposedBeforeItIsConvertedAndRefusalsNameWholeCharacters) {
    EXPECT_EQ(decodeWin1251(encodeWin1251(QStringLiteral("и\u0306е\u0308"))), QStringLiteral("йё"));
    try {
        encodeWin1251(QStringLiteral("Клей \U0001F600"));
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("«\U0001F600» (U+1F600)"))) << e.what();
    }
}
