// Splitting SQL scripts and creating databases.
#include "DbFixture.h"

#include <QFileInfo>

using namespace dbtest;
using obrixdb::splitScript;

TEST(SplitScript, SplitsOnTheCurrentTerminatorAndHonoursSetTerm) {
    const QStringList s = splitScript(QStringLiteral(
        "-- heading comment\n"
        "CREATE TABLE A (ID INTEGER);\n"
        "/* block; comment */ INSERT INTO A VALUES (1);\n"
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P AS\nDECLARE X INTEGER;\nBEGIN\n  -- inside; kept\n  X = 1;\nEND^\n"
        "SET TERM ; ^\n"
        "SELECT 1 FROM RDB$DATABASE;\n"
        "-- trailing comment only\n"));
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(s[0], "CREATE TABLE A (ID INTEGER)");
    EXPECT_EQ(s[1], "INSERT INTO A VALUES (1)");
    EXPECT_TRUE(s[2].startsWith("CREATE PROCEDURE P AS"));
    EXPECT_TRUE(s[2].contains("DECLARE X INTEGER;"));
    EXPECT_TRUE(s[2].contains("-- inside; kept"));
    EXPECT_TRUE(s[2].endsWith("END"));
    EXPECT_EQ(s[3], "SELECT 1 FROM RDB$DATABASE");
}

TEST(SplitScript, TerminatorsInsideQuotesDoNotSplit) {
    const QStringList s = splitScript(QStringLiteral(
        "INSERT INTO T VALUES ('a;b', 'it''s; -- not a comment');\n"
        "SELECT \"Odd;Name\" FROM T;\n"
        "set term !! ;\n"
        "SELECT '!!' FROM T!!\n"));
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0], "INSERT INTO T VALUES ('a;b', 'it''s; -- not a comment')");
    EXPECT_EQ(s[1], "SELECT \"Odd;Name\" FROM T");
    EXPECT_EQ(s[2], "SELECT '!!' FROM T");
}

TEST(SplitScript, RefusesUnclosedTextAndComments) {
    EXPECT_THROW(splitScript(QStringLiteral("SELECT 'abc FROM T;")), std::invalid_argument);
    EXPECT_THROW(splitScript(QStringLiteral("SELECT 1 /* open; ")), std::invalid_argument);
}

TEST(SplitScript, ShippedScriptsSplitIntoStatements) {
    const QStringList schema = splitScript(obrixdb::schemaScript());
    EXPECT_GT(schema.size(), 100);
    for (const QString& st : schema) EXPECT_FALSE(st.startsWith("SET TERM", Qt::CaseInsensitive)) << st.toStdString();
    const QStringList data = splitScript(obrixdb::dataScript());
    for (const QString& st : data) EXPECT_TRUE(st.startsWith("INSERT INTO")) << st.toStdString();
}

TEST(CreateDatabase, RefusesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.fdb");
    obrixdb::createDatabase(path);
    const auto size = QFileInfo(path).size();
    EXPECT_THROW(obrixdb::createDatabase(path), std::runtime_error);
    EXPECT_EQ(QFileInfo(path).size(), size);
    fb::Attachment att(path);  // still a working database
    fb::Transaction tra(att);
    EXPECT_EQ(fb::scalar(tra, "SELECT VER_NAME FROM P_VERSION").toString(), "1.1.6");
}

class RunScriptTest : public DbTest {};

TEST_F(RunScriptTest, OneTransactionScriptAppliesAllOrNothing) {
    const qint64 before = count("COLOR");
    EXPECT_THROW(obrixdb::runScript(*att,
                                    QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (100, 'Охра');\n"
                                                   "INSERT INTO COLOR (ID, NAME) VALUES (100, 'Дубль');\n"),
                                    true),
                 fb::DbError);
    EXPECT_EQ(count("COLOR"), before);
    obrixdb::runScript(*att, QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (100, 'Охра; с точкой с запятой');"), true);
    EXPECT_EQ(scalar("SELECT NAME FROM COLOR WHERE ID = 100").toString(), QStringLiteral("Охра; с точкой с запятой"));
}

TEST_F(RunScriptTest, ProcedureBodiesKeepTheirVariables) {
    obrixdb::runScript(*att, QStringLiteral(
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P_TWICE (A INTEGER) RETURNS (R INTEGER) AS\n"
        "DECLARE X INTEGER;\n"
        "BEGIN SELECT :A * 2 FROM RDB$DATABASE INTO :X; R = X; SUSPEND; END^\n"
        "SET TERM ; ^\n"), false);
    EXPECT_EQ(scalar("SELECT R FROM P_TWICE(21)").toInt(), 42);
}
