// The stock line dialog's rules without a window: the prices a chosen goods
// brings and the fields OK requires, on a sale's line over a real database.
#include "StockCoreFixture.h"

#include "stock/core/StockKinds.h"
#include "stock/core/StockLine.h"

#include <optional>

using namespace stocktest;

namespace {

class StockLineTest : public StockCoreTest {
protected:
    void SetUp() override {
        StockCoreTest::SetUp();
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA, CENA_PROD) "
                            "VALUES (1, 0, 'A-1', 'Крем', 'шт', 120.50, 180)"));
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) "
                            "VALUES (2, 0, 'A-2', 'Щётка', 'шт', 45)"));
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (3, 0, 'A-3', 'Стельки', 'пар')"));
        tovar = dataSet(QStringLiteral("SELECT * FROM TOVAR ORDER BY NAME"), QStringLiteral("cdsTovarLU"));
        tovar->open();
        moves = dataSet(QString(), QStringLiteral("cdsMoves"));
        DefineMovesDataSet(*moves, tovar.get(), [] { return kKindSale; });
        moves->query().setParam(QStringLiteral("CURDOC_ID"), -1);
        moves->open();
        moves->append();
    }
    static std::unique_ptr<TClientDataSet> dataSet(const QString& sql, const QString& name) {
        auto ds = std::make_unique<TClientDataSet>(nullptr, name);
        ds->setAttachment(&DM().connection());
        if (!sql.isEmpty()) ds->setCommandText(sql);
        return ds;
    }
    // The price as stored, "null" when there is none.
    std::string price(const char* field) const {
        const TField& f = moves->fieldByName(QString::fromLatin1(field));
        return f.isNull() ? "null" : f.asDecimal().toString(2).toStdString();
    }

    std::unique_ptr<TClientDataSet> tovar, moves;
};

}  // namespace

TEST_F(StockLineTest, AChosenGoodsBringsItsPricesAndAnAbsentPriceGivesZero) {
    struct Row {
        int tovarId;
        const char* cena;
        const char* cenaRealiz;
    };
    // In an order that checks each choice replaces the prices the last one brought.
    for (const Row& r : std::vector<Row>{{1, "120.50", "180.00"},
                                         {2, "45.00", "0.00"},   // no sale price
                                         {1, "120.50", "180.00"},
                                         {3, "0.00", "0.00"},    // no prices at all
                                         {99, "0.00", "0.00"}}) {  // not in the goods list
        PutGoodsPrices(*moves, *tovar, r.tovarId);
        EXPECT_EQ(price("CENA"), r.cena) << r.tovarId;
        EXPECT_EQ(price("CENA_REALIZ"), r.cenaRealiz) << r.tovarId;
    }
}

TEST_F(StockLineTest, OkNamesTheEmptyRequiredFieldsInOrder) {
    struct Row {
        const char* tovarId;
        const char* kolvo;
        const char* cena;
        QStringList missing;
    };
    const std::vector<Row> rows = {
        {nullptr, nullptr, nullptr, {"TOVAR_ID", "Кол-во", "Цена"}},  // a field without a label by its name
        {"1", nullptr, "0", {"Кол-во"}},  // a zero price is a price
        {nullptr, "2", "10", {"TOVAR_ID"}},
        {"1", "2", nullptr, {"Цена"}},
        {"1", "2", "10", {}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        for (auto [field, value] : {std::pair{"TOVAR_ID", r.tovarId}, std::pair{"KOLVO", r.kolvo},
                                    std::pair{"CENA", r.cena}}) {
            TField& f = moves->fieldByName(QString::fromLatin1(field));
            if (value)
                f.setAsString(QString::fromLatin1(value));
            else
                f.clear();
        }
        EXPECT_EQ(MissingLineFields(*moves), r.missing) << "row " << i;
    }
}

TEST_F(StockLineTest, AChosenGoodsEntersTheLineAndOkPostsOnlyAWholeLine) {
    PutLineGoods(*moves, *tovar, 1);
    EXPECT_EQ(moves->fieldByName("TOVAR_ID").asInteger(), 1);
    EXPECT_EQ(price("CENA"), "120.50");
    PutLineGoods(*moves, *tovar, std::nullopt);  // a text that names no goods
    EXPECT_TRUE(moves->fieldByName("TOVAR_ID").isNull());
    EXPECT_EQ(price("CENA"), "120.50");  // the prices stay

    EXPECT_EQ(TakeStockLine(*moves), QStringLiteral("Заполните поля:\r\rTOVAR_ID\rКол-во\r"));
    EXPECT_TRUE(moves->isEditing());
    PutLineGoods(*moves, *tovar, 1);
    moves->fieldByName("KOLVO").setAsString(QStringLiteral("2"));
    for (const char* f : {"ID", "DOC_ID", "NPP"}) moves->fieldByName(f).setAsInteger(1);  // the editor's part
    EXPECT_EQ(TakeStockLine(*moves), QString());
    EXPECT_FALSE(moves->isEditing());
    EXPECT_EQ(moves->recordCount(), 1);
    EXPECT_EQ(price("SUMMA_REALIZ"), "360.00");
}

// Receipts add, write-offs take away; a goods whose stock came to nothing, or
// that never moved, shows nothing; another period's stock is its own.
TEST_F(StockLineTest, StockOnHandIsTheQuantityOfTheGoodsInThatPeriod) {
    const int january = period("2009-01-01", "2009-01-31");
    const int february = period("2009-02-01", "2009-02-28");
    const auto doc = [&](int id, int periodId, int kind, std::vector<std::pair<int, const char*>> lines) {
        exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, SUMMA) VALUES (?, ?, ?, ?, 0)"),
             {id, kind, periodId, periodId == january ? d("2009-01-10") : d("2009-02-10")});
        int npp = 0;
        for (const auto& [goods, kolvo] : lines)
            exec(QStringLiteral("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP) "
                                "VALUES ((SELECT ID FROM GET_MOVES_ID), ?, ?, ?, 1, ?, ?)"),
                 {id, goods, fb::Decimal::fromString(QString::fromLatin1(kolvo)),
                  fb::Decimal::fromString(QString::fromLatin1(kolvo)), ++npp});
    };
    doc(1, january, kKindReceipt, {{1, "10"}, {2, "2"}});
    doc(2, january, kKindWriteOff, {{1, "4.5"}, {2, "2"}});
    doc(3, february, kKindReceipt, {{2, "1"}});

    auto nalich = dataSet(QString(), QStringLiteral("cdsNalich"));
    DefineStockOnHand(*nalich);
    EXPECT_EQ(StockOnHandText(*nalich, 1), QString());  // not read yet
    struct Row {
        int periodId, tovarId;
        const char* text;
    };
    const Row rows[] = {{january, 1, "5,5"}, {january, 2, ""}, {january, 3, ""}, {february, 2, "1"}};
    for (const Row& r : rows) {
        OpenStockOnHand(*nalich, r.periodId);
        EXPECT_EQ(StockOnHandText(*nalich, r.tovarId), QString::fromLatin1(r.text)) << r.periodId << " " << r.tovarId;
    }
}
