// The stock line dialog's rules without a window: the prices a chosen goods
// brings and the fields OK requires, on a sale's line over a real database.
#include "StockFixture.h"

#include "stock/core/StockKinds.h"
#include "stock/core/StockLine.h"

using namespace stocktest;

namespace {

class StockLineTest : public StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
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
