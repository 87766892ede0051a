// Reading the table and the order of a query from its text.
#include "data/Query.h"
#include "data/SqlText.h"

#include <gtest/gtest.h>

namespace {

struct FromCase {
    const char* sql;
    const char* table;
};

void PrintTo(const FromCase& c, std::ostream* os) { *os << c.sql; }

class FromTable : public ::testing::TestWithParam<FromCase> {};

TEST_P(FromTable, NamesTheFirstTopLevelTable) {
    EXPECT_EQ(sqltext::fromTable(QString::fromUtf8(GetParam().sql)), QString::fromUtf8(GetParam().table));
}

INSTANTIATE_TEST_SUITE_P(
    Queries, FromTable,
    ::testing::Values(
        FromCase{"SELECT * FROM KINDDOC ORDER BY ID", "KINDDOC"},
        FromCase{"select p.id from priemschik p join roletab r on r.id=p.role_id", "PRIEMSCHIK"},
        FromCase{"/*проверка комментария*/\nSELECT *\n  FROM DOCU\n WHERE RPERIOD_ID=:RPERIOD_ID", "DOCU"},
        FromCase{"SELECT (SELECT MAX(ID) FROM MOVES) AS M, D.ID FROM DOCS D", "DOCS"},
        FromCase{"SELECT 'FROM X' AS T, ID FROM \"Mixed\"", "Mixed"},
        FromCase{"-- FROM COMMENTED\nSELECT ID FROM COLOR", "COLOR"},
        FromCase{"SELECT * FROM (SELECT ID FROM COLOR)", ""},
        FromCase{"EXECUTE PROCEDURE P_VERSION", ""}));

struct OrderCase {
    const char* sql;
    const char* columns;  // "ID" / "DATEP,-NUMBER" (minus: descending) / "#2" (position)
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.sql; }

class OrderBy : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderBy, GivesColumnsWithoutAliases) {
    QStringList got;
    for (const auto& item : sqltext::orderBy(QString::fromUtf8(GetParam().sql))) {
        QString s = item.position > 0 ? QStringLiteral("#%1").arg(item.position) : item.column;
        got << (item.descending ? QStringLiteral("-") : QString()) + s;
    }
    EXPECT_EQ(got.join(','), QString::fromUtf8(GetParam().columns));
}

INSTANTIATE_TEST_SUITE_P(
    Queries, OrderBy,
    ::testing::Values(
        OrderCase{"SELECT * FROM KINDDOC ORDER BY ID", "ID"},
        OrderCase{"SELECT P.ID, P.FIO FROM PRIEMSCHIK P ORDER BY P.ID", "ID"},
        OrderCase{"SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEP, NUMBER DESC", "DATEP,-NUMBER"},
        OrderCase{"select * from comment order by name", "NAME"},
        OrderCase{"SELECT ID, NAME FROM ZAKAZCH ORDER BY 2", "#2"},
        OrderCase{"SELECT * FROM T ORDER BY UPPER(NAME), ID", "ID"},
        OrderCase{"SELECT * FROM T ORDER BY NAME COLLATE PXW_CYRL NULLS LAST", "NAME"},
        OrderCase{"SELECT * FROM T WHERE ID IN (SELECT ID FROM X ORDER BY Z) ORDER BY \"Name\"", "Name"},
        OrderCase{"SELECT * FROM T /* ORDER BY X */", ""},
        OrderCase{"SELECT * FROM T WHERE NAME = 'ORDER BY X'", ""},
        OrderCase{"SELECT * FROM MOVES WHERE DOC_ID=:CURDOC_ID\nORDER BY NPP\nROWS 10", "NPP"}));

TEST(QueryParams, NamesInOrderOutsideLiteralsAndComments) {
    TQuery q;
    q.setSql(QStringLiteral("SELECT * FROM T WHERE A=:PAR_GR OR -1=:par_gr /* :NOT_ME */ "
                            "AND B = ':NOR_ME' AND C=:RPERIOD_ID"));
    EXPECT_EQ(q.paramNames(), (QStringList{QStringLiteral("PAR_GR"), QStringLiteral("RPERIOD_ID")}));
    EXPECT_FALSE(q.hasParam(QStringLiteral("PAR_GR")));
    q.setParam(QStringLiteral("par_gr"), 5);
    EXPECT_TRUE(q.hasParam(QStringLiteral("PAR_GR")));
    EXPECT_EQ(q.param(QStringLiteral("Par_Gr")).toInt(), 5);
    q.clearParams();
    EXPECT_TRUE(q.param(QStringLiteral("PAR_GR")).isNull());
}

TEST(SqlQuoting, DoublesInnerQuotes) {
    EXPECT_EQ(sqltext::quoteIdentifier(QStringLiteral("DOCU")), QStringLiteral("\"DOCU\""));
    EXPECT_EQ(sqltext::quoteIdentifier(QStringLiteral("A\"B")), QStringLiteral("\"A\"\"B\""));
}

}  // namespace
