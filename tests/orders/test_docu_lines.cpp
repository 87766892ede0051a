// The order's line lists without a window: their fields, the price a chosen
// service brings, a new line's values and moving a line (the routine the
// stock editor shares), on order 1's lists over a real database.
#include "OrdersFixture.h"

#include "data/DataSetRoutines.h"
#include "orders/core/DocuLineDialogs.h"
#include "orders/core/DocuLines.h"

using namespace orderstest;

namespace {

class DocuLinesTest : public OrdersTest {
protected:
    void SetUp() override {
        OrdersTest::SetUp();
        ppara = lookupList("SELECT * FROM PPARA ORDER BY ID");
        product = lookupList("SELECT ID, NAME FROM PRODUCT ORDER BY ID");
        color = lookupList("SELECT * FROM COLOR ORDER BY ID");
        material = lookupList("SELECT * FROM MATERIAL ORDER BY ID");
        usluga = lookupList("SELECT ID, NAME, EAN13, NUMPR, SUMMA FROM USLUGA ORDER BY ID");
        lists = {ppara.get(), product.get(), color.get(), material.get(), usluga.get()};
        // As the editor holds them: order 1's lines, sorted by NPP.
        pmoves = lineList("PMOVES");
        DefinePMovesFields(*pmoves, lists);
        pmoves->open();
        umoves = lineList("UMOVES");
        DefineUMovesFields(*umoves, lists);
        umoves->open();
    }
    std::unique_ptr<TClientDataSet> lookupList(const char* sql) {
        auto ds = dataSet(QString::fromLatin1(sql), QStringLiteral("lookup"));
        ds->open();
        return ds;
    }
    std::unique_ptr<TClientDataSet> lineList(const char* table) {
        const QString t = QString::fromLatin1(table);
        auto ds = dataSet(QStringLiteral("SELECT * FROM ") + t + QStringLiteral(" WHERE DOC_ID=:CURDOC_ID ORDER BY NPP"),
                          QStringLiteral("cds") + t);
        ds->setIndexFieldNames(QStringLiteral("NPP"));
        ds->query().setParam(QStringLiteral("CURDOC_ID"), 1);
        return ds;
    }
    // A service line in memory (not saved), appended in the order given.
    void serviceLine(int id, int npp, int num) {
        umoves->append();
        umoves->fieldByName(QStringLiteral("ID")).setAsInteger(id);
        umoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(1);
        umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(1);
        umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("150"));
        umoves->fieldByName(QStringLiteral("NPP")).setAsInteger(npp);
        umoves->fieldByName(QStringLiteral("NUM")).setAsInteger(num);
        umoves->post();
    }
    static std::string money(const TField& f) { return f.asDecimal().toString(2).toStdString(); }
    static QList<int> ints(TClientDataSet& ds, const char* field) {
        QList<int> out;
        const int col = ds.fieldByName(QString::fromLatin1(field)).index();
        for (int r = 0; r < ds.recordCount(); ++r) out << int(ds.valueAt(r, col).toInt());
        return out;
    }

    std::unique_ptr<TClientDataSet> ppara, product, color, material, usluga;
    TDocuLineLists lists;
};

}  // namespace

TEST_F(DocuLinesTest, EachListGetsItsFieldsInGridOrder) {
    struct Row {
        const char* name;
        bool shown, required;
        const char* label;                 // nullptr: none (the name is shown)
        TClientDataSet* TDocuLineLists::*list;  // a lookup's list, or nullptr
        const char* result;                // the lookup's result field
    };
    using L = TDocuLineLists;
    const std::vector<Row> p = {
        {"ID", false, true, nullptr, nullptr, nullptr},
        {"DOC_ID", false, true, nullptr, nullptr, nullptr},
        {"NUM", true, false, "№", nullptr, nullptr},
        {"PPARA_NAME", true, false, "Полупара", &L::ppara, "NAME"},
        {"PRODUCT_ID", false, true, nullptr, nullptr, nullptr},
        {"PRODUCT_NAME", true, false, "Изделие", &L::product, "NAME"},
        {"COLOR_ID", false, false, nullptr, nullptr, nullptr},
        {"COLOR_NAME", true, false, "Цвет", &L::color, "NAME"},
        {"MATERIAL_ID", false, false, nullptr, nullptr, nullptr},
        {"MATERIAL_NAME", true, false, "Материал", &L::material, "NAME"},
        {"PROCIZN", true, false, "% износа", nullptr, nullptr},
        {"NPP", false, true, nullptr, nullptr, nullptr},
        {"PPARA", false, false, nullptr, nullptr, nullptr},
    };
    const std::vector<Row> u = {
        {"ID", false, true, nullptr, nullptr, nullptr},
        {"DOC_ID", false, true, nullptr, nullptr, nullptr},
        {"NUM", true, false, "№", nullptr, nullptr},
        {"USLUGA_ID", false, true, nullptr, nullptr, nullptr},
        {"USLUGA_NAME", true, false, "Услуга", &L::usluga, "NAME"},
        {"USLUGA_EAN13", true, false, "Штрих-код", &L::usluga, "EAN13"},
        {"USLUGA_NUMPR", true, false, "№ по прейск.", &L::usluga, "NUMPR"},
        {"SUMMA", true, true, "Сумма", nullptr, nullptr},
        {"NPP", false, true, nullptr, nullptr, nullptr},
    };
    for (const auto& [ds, rows] : {std::pair{pmoves.get(), p}, std::pair{umoves.get(), u}}) {
        const std::string list = ds->objectName().toStdString();
        ASSERT_EQ(ds->fieldCount(), int(rows.size())) << list;
        for (int i = 0; i < int(rows.size()); ++i) {
            const Row& r = rows[size_t(i)];
            const TField& f = ds->field(i);
            const std::string at = list + "." + r.name;
            EXPECT_EQ(f.name().toStdString(), r.name) << list << " #" << i;
            EXPECT_EQ(f.isVisible(), r.shown) << at;
            EXPECT_EQ(f.isRequired(), r.required) << at;
            EXPECT_EQ(f.hasDisplayLabel(), r.label != nullptr) << at;
            if (r.label) { EXPECT_EQ(f.displayLabel().toStdString(), r.label) << at; }
            EXPECT_EQ(f.kind() == TFieldKind::Lookup, r.list != nullptr) << at;
            if (r.list) {
                EXPECT_EQ(f.lookup().dataSet, lists.*r.list) << at;
                EXPECT_EQ(f.lookup().resultField.toStdString(), r.result) << at;
            }
        }
    }
    // A line's amount is money: two decimals, shown with the kopecks.
    EXPECT_EQ(umoves->fieldByName(QStringLiteral("SUMMA")).scale(), 2);
}

TEST_F(DocuLinesTest, AChosenServiceBringsItsPriceAndATypedAmountStays) {
    const TField& summa = umoves->fieldByName(QStringLiteral("SUMMA"));
    AppendDocuLine(*umoves, TDocuLineKind::Service, {501, 1, 10});
    EXPECT_EQ(money(summa), "0.00");
    umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(3);
    EXPECT_EQ(money(summa), "250.50");
    EXPECT_EQ(umoves->fieldByName(QStringLiteral("USLUGA_NAME")).asString().toStdString(), "Молния");
    umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("99.90"));
    umoves->post();
    EXPECT_EQ(money(summa), "99.90");
    // Choosing another service later brings that one's price again.
    umoves->edit();
    umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(2);
    EXPECT_EQ(money(summa), "400.00");
    umoves->cancel();
    EXPECT_EQ(money(summa), "99.90");
}

TEST_F(DocuLinesTest, ANewLineGetsTheDrawnValuesAndItsKindsDefault) {
    struct Row {
        TDocuLineKind kind;
        const char* stem;
        const char* defaultField;
        const char* defaultValue;
    };
    for (const Row& r : {Row{TDocuLineKind::Product, "GET_PMOVES", "PROCIZN", "50"},
                         Row{TDocuLineKind::Service, "GET_UMOVES", "SUMMA", "0"}}) {
        TClientDataSet& lines = r.kind == TDocuLineKind::Product ? *pmoves : *umoves;
        const QString stem = DocuLineStem(r.kind);
        EXPECT_EQ(stem.toStdString(), r.stem);
        // The stem names the procedures the editor draws from.
        const int id = int(scalar(QStringLiteral("SELECT ID FROM ") + stem + QStringLiteral("_ID")).toInt());
        const int npp = int(scalar(QStringLiteral("SELECT NPP FROM ") + stem + QStringLiteral("_NPP")).toInt());
        AppendDocuLine(lines, r.kind, {id, 1, npp});
        EXPECT_EQ(lines.state(), TDataSetState::Insert) << r.stem;  // the line dialog posts or cancels it
        EXPECT_EQ(lines.fieldByName(QStringLiteral("ID")).asInteger(), id) << r.stem;
        EXPECT_EQ(lines.fieldByName(QStringLiteral("DOC_ID")).asInteger(), 1) << r.stem;
        EXPECT_EQ(lines.fieldByName(QStringLiteral("NPP")).asInteger(), npp) << r.stem;
        EXPECT_EQ(lines.fieldByName(QStringLiteral("NUM")).asInteger(), 1) << r.stem;  // the first line
        EXPECT_EQ(lines.fieldByName(QString::fromLatin1(r.defaultField)).asString().toStdString(), r.defaultValue) << r.stem;
        lines.cancel();
    }
}

TEST_F(DocuLinesTest, ANewLineIsNumberedAfterTheLastLine) {
    struct Row {
        std::vector<int> nums;  // the lines' NUM in list order
        int next;
    };
    const std::vector<Row> rows = {
        {{}, 1},
        {{1}, 2},
        {{1, 2, 3}, 4},
        {{2, 1, 5, 3}, 4},  // lines moved about: the last line counts, not the largest number
    };
    for (const Row& r : rows) {
        umoves->cancelUpdates();
        for (size_t i = 0; i < r.nums.size(); ++i) serviceLine(int(700 + i), int(10 * (i + 1)), r.nums[i]);
        umoves->first();
        AppendDocuLine(*umoves, TDocuLineKind::Service, {799, 1, 1000});
        EXPECT_EQ(umoves->fieldByName(QStringLiteral("NUM")).asInteger(), r.next) << r.nums.size() << " lines";
        umoves->cancel();
        EXPECT_EQ(umoves->recordCount(), int(r.nums.size()));
    }
}

// One routine for both editors: the order's line lists and the stock document's.
TEST_F(DocuLinesTest, SwappingTakesTheNeighboursNppAndTheCursorFollows) {
    struct Row {
        const char* what;
        int row, step;
        bool swapped;
        QList<int> ids;  // in list order afterwards
        int cursor;      // the row the cursor stands on afterwards
    };
    const std::vector<Row> rows = {
        {"middle down", 1, +1, true, {11, 13, 12}, 2},
        {"middle up", 1, -1, true, {12, 11, 13}, 0},
        {"first up", 0, -1, false, {11, 12, 13}, 0},
        {"last down", 2, +1, false, {11, 12, 13}, 2},
        {"first down", 0, +1, true, {12, 11, 13}, 1},
        {"last up", 2, -1, true, {11, 13, 12}, 1},
    };
    for (const Row& r : rows) {
        umoves->cancelUpdates();
        for (int i = 0; i < 3; ++i) serviceLine(11 + i, 10 * (i + 1), i + 1);
        umoves->setRecNo(r.row);
        const int moved = umoves->fieldByName(QStringLiteral("ID")).asInteger();
        EXPECT_EQ(SwapNppWithNeighbour(*umoves, r.step), r.swapped) << r.what;
        EXPECT_EQ(ints(*umoves, "ID"), r.ids) << r.what;
        EXPECT_EQ(ints(*umoves, "NPP"), (QList<int>{10, 20, 30})) << r.what;  // the same values, in order
        EXPECT_EQ(umoves->recNo(), r.cursor) << r.what;
        EXPECT_EQ(umoves->fieldByName(QStringLiteral("ID")).asInteger(), moved) << r.what;
        EXPECT_FALSE(umoves->isEditing()) << r.what;
    }
}

// What the line dialogs refuse before they take a line, and a choice typed
// into the product dialog's free-text boxes.
TEST_F(DocuLinesTest, ALineDialogNamesTheRequiredFieldsTheLineLeavesEmpty) {
    struct Row {
        TDocuLineKind kind;
        const char* field;  // set before the check, nullptr: the new line as appended
        const char* missing;
    };
    const std::vector<Row> rows = {
        {TDocuLineKind::Product, nullptr, "Изделие"},
        {TDocuLineKind::Product, "PRODUCT_ID", ""},
        {TDocuLineKind::Service, nullptr, "Услуга"},  // a new line's SUMMA is 0, not empty
        {TDocuLineKind::Service, "USLUGA_ID", ""},
    };
    for (const Row& r : rows) {
        TClientDataSet& lines = r.kind == TDocuLineKind::Product ? *pmoves : *umoves;
        AppendDocuLine(lines, r.kind, {900, 1, 900});
        if (r.field) SetDocuLineChoice(lines, QString::fromLatin1(r.field), 1);
        EXPECT_EQ(MissingDocuLineFields(r.kind, &lines).join(QLatin1Char('|')).toStdString(), r.missing)
            << (r.field ? r.field : "new");
        lines.cancel();
    }
    // A price cleared to nothing or blank is missing as well; no list at all misses everything.
    AppendDocuLine(*umoves, TDocuLineKind::Service, {901, 1, 901});
    umoves->fieldByName(QStringLiteral("SUMMA")).clear();
    EXPECT_EQ(MissingDocuLineFields(TDocuLineKind::Service, umoves.get()),
              (QStringList{QStringLiteral("Услуга"), QStringLiteral("Стоимость")}));
    umoves->cancel();
    EXPECT_EQ(MissingDocuLineFields(TDocuLineKind::Service, nullptr).size(), 2);
    EXPECT_EQ(MissingFieldsMessage({QStringLiteral("Услуга"), QStringLiteral("Стоимость")}),
              QStringLiteral("Заполните поля:\r\rУслуга\rСтоимость\r"));

    // A text that names no item clears the choice; a saved line is put into editing for it.
    AppendDocuLine(*pmoves, TDocuLineKind::Product, {902, 1, 902});
    SetDocuLineChoice(*pmoves, QStringLiteral("PRODUCT_ID"), 1);
    SetDocuLineChoice(*pmoves, QStringLiteral("PRODUCT_ID"), std::nullopt);
    EXPECT_EQ(MissingDocuLineFields(TDocuLineKind::Product, pmoves.get()), QStringList{QStringLiteral("Изделие")});
    pmoves->cancel();
    serviceLine(903, 903, 1);
    SetDocuLineChoice(*umoves, QStringLiteral("USLUGA_ID"), 2);
    EXPECT_TRUE(umoves->isEditing());
    EXPECT_EQ(money(umoves->fieldByName(QStringLiteral("SUMMA"))), "400.00");  // the price follows the service
    umoves->cancel();
}
