// Choosing goods from the group tree without a window: the lists, where a
// choice starts, the goods of the group the tree stands on and the answers.
#include "StockCoreFixture.h"

#include "stock/core/GoodsChoice.h"

using namespace stocktest;

namespace {

class GoodsChoiceTest : public StockCoreTest {
protected:
    void SetUp() override {
        StockCoreTest::SetUp();
        for (const char* sql : {
                 "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Материалы', 1)",
                 "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 1, 'Кожи', 2)",
                 "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (4, 0, 'Фурнитура', 1)",
                 "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (1, 2, 'B2', 'Кожа', 'дм2')",
                 "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (2, 2, 'A1', 'КОЖЗАМ', 'м')",
                 "INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (3, 4, 'A3', 'Клей', 'шт')"})
            exec(QString::fromUtf8(sql));
    }
    static QStringList column(const TClientDataSet& ds, const char* field) {
        QStringList out;
        const int idx = ds.fieldByName(QString::fromLatin1(field)).index();
        for (int r = 0; r < ds.recordCount(); ++r) out << ds.valueAt(r, idx).toString();
        return out;
    }
};

TEST_F(GoodsChoiceTest, TheGroupsCursorDecidesTheGoodsAndTheChoiceAnswersWithIds) {
    TClientDataSet groups(nullptr, QStringLiteral("groups")), goods(nullptr, QStringLiteral("goods"));
    DefineGoodsGroupsList(groups);
    DefineGroupGoodsList(goods);
    QStringList shown;
    for (const TField* f : goods.fields())
        if (f->isVisible()) shown << f->displayLabel();
    EXPECT_EQ(shown, (QStringList{"Артикул", "Наименование"}));

    // Closed lists: no group, so no goods, and nothing chosen.
    OpenGroupGoods(goods, groups);
    EXPECT_EQ(goods.recordCount(), 0);
    EXPECT_EQ(CurrentListId(groups), std::nullopt);
    EXPECT_EQ(CurrentListId(goods), std::nullopt);

    groups.open();
    EXPECT_EQ(column(groups, "NAME"), (QStringList{"Товары", "Материалы", "Фурнитура", "Кожи"}));  // by level, name
    struct Row {
        int group;       // asked for
        int stands;      // where the groups' cursor ends up
        int goodsId;     // asked for in the goods
        QStringList names;
        std::optional<int> chosen;
    };
    const Row rows[] = {
        {2, 2, 1, {"КОЖЗАМ", "Кожа"}, 1},  // by article
        {2, 2, 99, {"КОЖЗАМ", "Кожа"}, 2},  // an unknown goods: the first
        {99, 0, 1, {}, std::nullopt},       // an unknown group: the first, here without goods
        {4, 4, 3, {"Клей"}, 3},
    };
    for (const Row& r : rows) {
        LocateOrFirst(groups, r.group);
        EXPECT_EQ(CurrentListId(groups), r.stands) << r.group;
        OpenGroupGoods(goods, groups);
        LocateOrFirst(goods, r.goodsId);
        EXPECT_EQ(column(goods, "NAME"), r.names) << r.group;
        EXPECT_EQ(CurrentListId(goods), r.chosen) << r.group;
    }
}

TEST_F(GoodsChoiceTest, AGoodsLeadsToItsGroupOnlyWhenTheGoodsListKnowsIt) {
    TClientDataSet tovar(nullptr, QStringLiteral("tovar"));
    tovar.setCommandText(QStringLiteral("SELECT ID, GR_ID, NAME FROM TOVAR ORDER BY NAME"));
    EXPECT_EQ(GoodsGroupOf(tovar, 1), std::nullopt);  // closed
    tovar.open();
    EXPECT_EQ(GoodsGroupOf(tovar, 1), 2);
    EXPECT_EQ(GoodsGroupOf(tovar, 3), 4);
    EXPECT_EQ(GoodsGroupOf(tovar, 99), std::nullopt);
}

}  // namespace
