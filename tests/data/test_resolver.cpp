// The statements an apply sends, built from logged changes.
#include "data/UpdateResolver.h"

#include <gtest/gtest.h>

namespace {

fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

// Fields 0..3 are ID, NAME, SUMMA (scale 2), D; field 4 (a calculated one) is never a column.
TUpdateResolver resolver(bool quote = false) {
    return TUpdateResolver(QStringLiteral("T"),
                           {{0, QStringLiteral("ID"), true, -1},
                            {1, QStringLiteral("NAME"), true, -1},
                            {2, QStringLiteral("SUMMA"), true, 2},
                            {3, QStringLiteral("NOTE"), false, -1}},
                           quote);
}

TSentChange change(TChangeKind kind, std::vector<fb::Value> oldValues, std::vector<fb::Value> newValues) {
    TSentChange c{kind, std::make_shared<TDataRow>(), 0, std::move(oldValues), std::move(newValues)};
    return c;
}

TEST(Resolver, InsertSendsDataColumnsHoldingAValue) {
    const auto sql = resolver().statementFor(
        change(TChangeKind::Insert, {}, {7, QStringLiteral("Щётка"), fb::Value(), QStringLiteral("x"), QStringLiteral("calc")}));
    EXPECT_EQ(sql.text, QStringLiteral("INSERT INTO T (ID, NAME, NOTE) VALUES (?, ?, ?)"));
    ASSERT_EQ(sql.params.size(), 3u);
    EXPECT_EQ(sql.params[1].toString(), QStringLiteral("Щётка"));
    EXPECT_FALSE(sql.mustHitRow);
}

TEST(Resolver, InsertOfAnEmptyRowUsesDefaults) {
    const auto sql = resolver().statementFor(change(TChangeKind::Insert, {}, {{}, {}, {}, {}, {}}));
    EXPECT_EQ(sql.text, QStringLiteral("INSERT INTO T DEFAULT VALUES"));
}

TEST(Resolver, UpdateSetsChangedColumnsAndFindsTheRowByAllOldValues) {
    const auto sql = resolver().statementFor(change(TChangeKind::Modify,
                                                    {1, QStringLiteral("A"), fb::Value(), QStringLiteral("n"), {}},
                                                    {1, QStringLiteral("B"), dec("2.50"), QStringLiteral("n"), {}}));
    EXPECT_EQ(sql.text, QStringLiteral("UPDATE T SET NAME = ?, SUMMA = ? WHERE ID = ? AND NAME = ? AND SUMMA IS NULL"));
    ASSERT_EQ(sql.params.size(), 4u);
    EXPECT_EQ(sql.params[0].toString(), QStringLiteral("B"));
    EXPECT_EQ(sql.params[1].toDecimal(), dec("2.5"));
    EXPECT_EQ(sql.params[2].toInt(), 1);
    EXPECT_EQ(sql.params[3].toString(), QStringLiteral("A"));
    EXPECT_TRUE(sql.mustHitRow);
}

TEST(Resolver, UpdateToNullAndUnchangedRow) {
    const auto r = resolver();
    const auto toNull = r.statementFor(change(TChangeKind::Modify, {1, QStringLiteral("A"), dec("1"), {}, {}},
                                              {1, fb::Value(), dec("1"), {}, {}}));
    EXPECT_EQ(toNull.text, QStringLiteral("UPDATE T SET NAME = ? WHERE ID = ? AND NAME = ? AND SUMMA = ?"));
    EXPECT_TRUE(toNull.params[0].isNull());
    const auto same = r.statementFor(change(TChangeKind::Modify, {1, QStringLiteral("A"), dec("1"), {}, {}},
                                            {1, QStringLiteral("A"), dec("1"), {}, {}}));
    EXPECT_TRUE(same.text.isEmpty());
}

TEST(Resolver, DeleteFindsTheRowByOldValuesWithQuotedNames) {
    const auto sql = resolver(true).statementFor(
        change(TChangeKind::Delete, {3, fb::Value(), dec("0.10"), QStringLiteral("n"), {}}, {}));
    EXPECT_EQ(sql.text,
              QStringLiteral("DELETE FROM \"T\" WHERE \"ID\" = ? AND \"NAME\" IS NULL AND \"SUMMA\" = ?"));
    EXPECT_EQ(sql.params.size(), 2u);
    EXPECT_TRUE(sql.mustHitRow);
}

TEST(Resolver, PreparedValuesAreRoundedToTheColumnScale) {
    const auto values = resolver().prepared({1, QStringLiteral("A"), dec("7.007"), QStringLiteral("7.007"), dec("7.007")});
    EXPECT_EQ(values[2].toDecimal(), dec("7.01"));
    EXPECT_EQ(values[3].toString(), QStringLiteral("7.007"));
    EXPECT_EQ(values[4].toDecimal(), dec("7.007"));  // not a column: untouched
    EXPECT_EQ(resolver().prepared({1, {}, dec("-0.005"), {}, {}})[2].toDecimal(), dec("-0.01"));
}

}  // namespace
