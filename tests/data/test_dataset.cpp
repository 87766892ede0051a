// The client dataset in memory: open, navigation, order, filter, lookups,
// editing, validation and change handlers, against a real database.
#include "DataFixture.h"

#include <functional>

using namespace datatest;

namespace {

class DataSetTest : public DataTest {};

TEST_F(DataSetTest, OpenLoadsEveryRowInTheOrderByOrderWithTheCursorOnTheFirst) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY NAME"));
    ds->open();
    ASSERT_EQ(ds->recordCount(), 10);
    EXPECT_EQ(ds->recNo(), 0);
    EXPECT_TRUE(ds->bof());
    EXPECT_FALSE(ds->eof());
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Бежевый"));
    QStringList walked;
    for (ds->first(); !ds->eof(); ds->next()) walked << ds->fieldByName(QStringLiteral("NAME")).asString();
    EXPECT_EQ(walked.size(), 10);
    EXPECT_EQ(walked.last(), QStringLiteral("Черный"));
    EXPECT_EQ(ds->recNo(), 9);  // next at the last row sets eof without moving
    ds->prior();
    EXPECT_EQ(ds->recNo(), 8);
    EXPECT_FALSE(ds->eof());
    ds->first();
    ds->prior();
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(ds->recNo(), 0);
    ds->last();
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->sortFields(), QStringList{QStringLiteral("NAME")});
}

TEST_F(DataSetTest, OpeningAnOpenDataSetDoesNothing) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    ds->open();
    ds->setRecNo(3);
    exec(QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (11, 'Новый')"));
    ds->open();
    EXPECT_EQ(ds->recordCount(), 10);
    EXPECT_EQ(ds->recNo(), 3);
    ds->close();
    EXPECT_FALSE(ds->isActive());
    EXPECT_EQ(ds->recordCount(), 0);
    ds->open();
    EXPECT_EQ(ds->recordCount(), 11);
}

TEST_F(DataSetTest, WithoutOrderByRowsAreKeptInIdOrderAndJournalsKeepTheServerOrder) {
    exec(QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (50, 'Аквамарин')"));
    exec(QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (20, 'Янтарный')"));
    auto byId = dataSet(QStringLiteral("SELECT ID, NAME FROM COLOR WHERE ID >= 10"));
    byId->open();
    EXPECT_EQ(column(*byId, QStringLiteral("ID")), (QStringList{"10", "20", "50"}));

    auto journal = dataSet(QStringLiteral("SELECT ID, NAME FROM COLOR WHERE ID >= 10 ORDER BY NAME DESC"));
    journal->setKeepServerOrder(true);
    journal->open();
    EXPECT_EQ(column(*journal, QStringLiteral("ID")), (QStringList{"20", "10", "50"}));
    EXPECT_TRUE(journal->sortFields().isEmpty());

    auto desc = dataSet(QStringLiteral("SELECT ID, NAME FROM COLOR WHERE ID >= 10 ORDER BY NAME DESC"));
    desc->open();
    EXPECT_EQ(column(*desc, QStringLiteral("ID")), (QStringList{"20", "10", "50"}));
}

TEST_F(DataSetTest, LocateFindsAnExactValueOrLeavesTheCursor) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY NAME"));
    ds->open();
    ds->setRecNo(2);
    EXPECT_TRUE(ds->locate(QStringLiteral("ID"), 5));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Серый"));
    const int at = ds->recNo();
    EXPECT_FALSE(ds->locate(QStringLiteral("ID"), 999));
    EXPECT_EQ(ds->recNo(), at);
    EXPECT_FALSE(ds->locate(QStringLiteral("NAME"), QStringLiteral("серый")));  // exact: case matters
    EXPECT_TRUE(ds->locate(QStringLiteral("ID"), fb::Value(dec("7"))));          // a decimal 7 is the integer 7
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Красный"));
    EXPECT_EQ(ds->lookup(QStringLiteral("ID"), 3, QStringLiteral("NAME")).toString(), QStringLiteral("Белый"));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 7);  // lookup does not move
}

TEST_F(DataSetTest, FilterOnTypedocHidesTheOtherKindsUntilSwitchedOff) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM KINDDOC ORDER BY ID"), QStringLiteral("cdsKindDoc"));
    ds->open();
    ASSERT_EQ(ds->recordCount(), 8);
    ds->setFilter(QStringLiteral("TYPEDOC=2"));
    ds->setFiltered(true);
    EXPECT_EQ(column(*ds, QStringLiteral("ID")), (QStringList{"101", "102", "103", "107", "108"}));
    EXPECT_EQ(ds->recNo(), 0);
    ds->setFilter(QStringLiteral("TYPEDOC = 1"));
    EXPECT_EQ(column(*ds, QStringLiteral("ID")), (QStringList{"1", "2", "3"}));
    ds->setFiltered(false);
    EXPECT_EQ(ds->recordCount(), 8);
    EXPECT_THROW(ds->setFilter(QStringLiteral("TYPEDOC > 1")), EDatabaseError);
}

TEST_F(DataSetTest, SwappingNppMovesTheRowsAtOnceAndTheCursorStaysOnTheMovedLine) {
    seedOrder();
    auto ds = lines();
    ds->open();
    ASSERT_EQ(column(*ds, QStringLiteral("ID")), (QStringList{"1", "2", "3"}));
    // Move line 1 down: the next line takes its NPP, then it takes the next line's.
    ds->first();
    const int id = ds->fieldByName(QStringLiteral("ID")).asInteger();
    const int npp = ds->fieldByName(QStringLiteral("NPP")).asInteger();
    ds->next();
    const int nextNpp = ds->fieldByName(QStringLiteral("NPP")).asInteger();
    ds->edit();
    ds->fieldByName(QStringLiteral("NPP")).setAsInteger(npp);
    ds->post();
    ASSERT_TRUE(ds->locate(QStringLiteral("ID"), id));
    ds->edit();
    ds->fieldByName(QStringLiteral("NPP")).setAsInteger(nextNpp);
    ds->post();
    EXPECT_EQ(column(*ds, QStringLiteral("ID")), (QStringList{"2", "1", "3"}));
    EXPECT_EQ(ds->recNo(), 1);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 1);
    EXPECT_EQ(ds->changeCount(), 2);
}

TEST_F(DataSetTest, APostedNewRowTakesItsPlaceInTheOrder) {
    seedOrder();
    auto ds = lines();
    ds->open();
    ds->append();
    EXPECT_EQ(ds->state(), TDataSetState::Insert);
    EXPECT_EQ(ds->recNo(), 3);  // shown at the end while being filled
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(4);
    ds->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(1);
    ds->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(1);
    ds->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("10"));
    ds->fieldByName(QStringLiteral("NPP")).setAsInteger(15);
    ds->post();
    EXPECT_EQ(column(*ds, QStringLiteral("ID")), (QStringList{"1", "4", "2", "3"}));
    EXPECT_EQ(ds->recNo(), 1);
    EXPECT_EQ(ds->updateStatus(), TUpdateStatus::Inserted);

    // insert() places the row at the cursor in a dataset that keeps the server's order
    auto journal = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    journal->setKeepServerOrder(true);
    journal->open();
    journal->setRecNo(2);
    journal->insert();
    journal->fieldByName(QStringLiteral("ID")).setAsInteger(99);
    journal->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Вставленный"));
    journal->post();
    EXPECT_EQ(column(*journal, QStringLiteral("ID")).mid(0, 4), (QStringList{"1", "2", "99", "3"}));
}

TEST_F(DataSetTest, FindNearestGoesToTheFirstRowNotBelowTheKey) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY NAME"));
    ds->open();
    ds->findNearest({QStringLiteral("Бе")});
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Бежевый"));
    ds->findNearest({QStringLiteral("зел")});  // letter case does not matter
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Зеленый"));
    ds->findNearest({QStringLiteral("Я")});  // everything is smaller: the last row
    EXPECT_EQ(ds->recNo(), 9);

    ds->setIndexFieldNames(QStringLiteral("ID"));
    EXPECT_EQ(column(*ds, QStringLiteral("ID")).first(), QStringLiteral("1"));
    ds->setRecNo(4);
    EXPECT_THROW(ds->findNearest({QStringLiteral("abc")}), EConvertError);
    EXPECT_EQ(ds->recNo(), 4);
    ds->findNearest({QStringLiteral("7")});
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 7);
}

TEST_F(DataSetTest, LookupFieldShowsTheOtherDataSetsValueAndEmptyForANullKey) {
    seedOrder();
    exec(QStringLiteral("INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)"));
    exec(QStringLiteral("INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Сапоги')"));
    exec(QStringLiteral("INSERT INTO PMOVES (ID, DOC_ID, PRODUCT_ID, COLOR_ID, NPP) VALUES (1, 1, 1, 2, 1)"));
    exec(QStringLiteral("INSERT INTO PMOVES (ID, DOC_ID, PRODUCT_ID, COLOR_ID, NPP) VALUES (2, 1, 1, NULL, 2)"));
    auto colors = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"), QStringLiteral("cdsColorLU"));
    colors->open();
    auto ds = dataSet(QStringLiteral("SELECT * FROM PMOVES ORDER BY NPP"));
    ds->addLookupField(QStringLiteral("COLOR_NAME"), TFieldType::Text, 30, QStringLiteral("COLOR_ID"), colors.get(),
                       QStringLiteral("ID"), QStringLiteral("NAME"));
    ds->open();
    TField& name = ds->fieldByName(QStringLiteral("COLOR_NAME"));
    EXPECT_EQ(name.kind(), TFieldKind::Lookup);
    EXPECT_EQ(name.displayText(), QStringLiteral("Коричневый"));
    ds->next();
    EXPECT_TRUE(name.isNull());
    EXPECT_EQ(name.displayText(), QString());
    ds->edit();
    EXPECT_THROW(name.setAsString(QStringLiteral("x")), EDatabaseError);  // read-only
    ds->fieldByName(QStringLiteral("COLOR_ID")).setAsInteger(999);       // not in the lookup
    EXPECT_EQ(name.displayText(), QString());
    ds->fieldByName(QStringLiteral("COLOR_ID")).setAsInteger(9);
    EXPECT_EQ(name.displayText(), QStringLiteral("Зеленый"));
    ds->cancel();
    // the lookup follows its source: a renamed colour shows at once
    colors->locate(QStringLiteral("ID"), 2);
    colors->edit();
    colors->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Шоколадный"));
    colors->post();
    EXPECT_EQ(ds->displayTextAt(0, name.index()), QStringLiteral("Шоколадный"));
    colors->close();
    EXPECT_EQ(ds->displayTextAt(0, name.index()), QString());
}

struct RequiredCase {
    const char* idLabel;
    const char* nameLabel;
    bool setId;
    const char* message;
};

void PrintTo(const RequiredCase& c, std::ostream* os) { *os << c.message; }

class RequiredFields : public DataSetTest, public ::testing::WithParamInterface<RequiredCase> {};

TEST_P(RequiredFields, PostStopsAtTheFirstNullRequiredFieldWithItsLabel) {
    const RequiredCase& c = GetParam();
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"), QStringLiteral("cdsBook"));
    ds->addField(QStringLiteral("ID")).setRequired().setDisplayLabel(QString::fromUtf8(c.idLabel));
    ds->addField(QStringLiteral("NAME")).setRequired().setDisplayLabel(QString::fromUtf8(c.nameLabel));
    ds->open();
    ds->append();
    if (c.setId) ds->fieldByName(QStringLiteral("ID")).setAsInteger(42);
    try {
        ds->post();
        FAIL() << "post accepted a row without a required value";
    } catch (const EFieldRequired& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8(c.message));
        EXPECT_TRUE(isDatabaseError(e));
        EXPECT_EQ(errorMessage(e), QString::fromUtf8(c.message));
    }
    EXPECT_EQ(ds->state(), TDataSetState::Insert);  // the row stays in editing
    EXPECT_EQ(ds->changeCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, RequiredFields,
    ::testing::Values(RequiredCase{"Код", "Наименование", true, "Field 'Наименование' must have a value"},
                      RequiredCase{"", "", true, "Field 'NAME' must have a value"},
                      RequiredCase{"Код", "Наименование", false, "Field 'Код' must have a value"}));

TEST_F(DataSetTest, AutomaticFieldsTakeTypesAndRequiredFromTheColumns) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM MOVES"));
    ds->open();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("KOLVO")).type(), TFieldType::Decimal);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("KOLVO")).scale(), 3);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("CENA")).scale(), 2);
    EXPECT_TRUE(ds->fieldByName(QStringLiteral("CENA")).isRequired());
    EXPECT_FALSE(ds->fieldByName(QStringLiteral("CENA_REALIZ")).isRequired());
    auto pr = dataSet(QStringLiteral("SELECT * FROM PRIEMSCHIK"));
    pr->open();
    EXPECT_TRUE(pr->fieldByName(QStringLiteral("ZAK_VIEW")).fixedChar());
    EXPECT_EQ(pr->fieldByName(QStringLiteral("ZAK_VIEW")).size(), 1);
    EXPECT_EQ(pr->fieldByName(QStringLiteral("FIO")).size(), 60);
    EXPECT_TRUE(pr->fieldByName(QStringLiteral("ZAK_VIEW")).asBoolean());
}

TEST_F(DataSetTest, OpenFailuresLeaveTheDataSetClosed) {
    auto missingParam = dataSet(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID"));
    EXPECT_THROW(missingParam->open(), EDatabaseError);
    EXPECT_FALSE(missingParam->isActive());
    missingParam->query().setParam(QStringLiteral("RPERIOD_ID"), 1);
    missingParam->open();
    EXPECT_TRUE(missingParam->isActive());

    auto missingTable = dataSet(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    EXPECT_THROW(missingTable->open(), fb::DbError);
    EXPECT_FALSE(missingTable->isActive());

    auto missingField = dataSet(QStringLiteral("SELECT ID FROM COLOR"));
    missingField->addField(QStringLiteral("ID"));
    missingField->addField(QStringLiteral("NAME"));
    EXPECT_THROW(missingField->open(), EDatabaseError);
    EXPECT_FALSE(missingField->isActive());

    auto noConnection = std::make_unique<TClientDataSet>();
    noConnection->setCommandText(QStringLiteral("SELECT * FROM COLOR"));
    try {
        noConnection->open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Нет соединения с базой данных"));
    }
}

TEST_F(DataSetTest, DeclaredFieldsKeepTheirOrderAndOnlyThoseAreLoaded) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    ds->addField(QStringLiteral("NAME"), TFieldType::Text, 30).setDisplayLabel(QStringLiteral("Цвет"));
    ds->addField(QStringLiteral("ID"), TFieldType::Integer).setVisible(false);
    ds->addCalcField(QStringLiteral("UPNAME"), TFieldType::Text, 30);
    ds->setOnCalcFields([](TClientDataSet& d) {
        d.fieldByName(QStringLiteral("UPNAME")).setAsString(d.fieldByName(QStringLiteral("NAME")).asString().toUpper());
    });
    ds->open();
    ASSERT_EQ(ds->fieldCount(), 3);
    EXPECT_EQ(ds->field(0).name(), QStringLiteral("NAME"));
    EXPECT_EQ(ds->visibleFields().size(), 2u);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("UPNAME")).asString(), QStringLiteral("ЧЕРНЫЙ"));
    ds->edit();
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Угольный"));
    EXPECT_EQ(ds->fieldByName(QStringLiteral("UPNAME")).asString(), QStringLiteral("УГОЛЬНЫЙ"));  // at once
    ds->cancel();
    EXPECT_EQ(ds->fieldByName(QStringLiteral("UPNAME")).asString(), QStringLiteral("ЧЕРНЫЙ"));
    EXPECT_THROW(ds->fieldByName(QStringLiteral("UPNAME")).setAsString(QStringLiteral("x")), EDatabaseError);
}

TEST_F(DataSetTest, EditCancelDeleteAndTheirStates) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    ds->open();
    TField& name = ds->fieldByName(QStringLiteral("NAME"));
    try {
        name.setAsString(QStringLiteral("x"));
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Набор данных cdsTest не в режиме редактирования"));
    }
    ds->setRecNo(1);
    ds->edit();
    EXPECT_EQ(ds->state(), TDataSetState::Edit);
    EXPECT_FALSE(ds->isModified());
    name.setAsString(QStringLiteral("Тёмно-коричневый"));
    EXPECT_TRUE(ds->isModified());
    ds->cancel();
    EXPECT_EQ(name.asString(), QStringLiteral("Коричневый"));
    EXPECT_EQ(ds->changeCount(), 0);

    // moving away posts a changed row, and drops an untouched new one
    ds->edit();
    name.setAsString(QStringLiteral("Тёмно-коричневый"));
    ds->next();
    EXPECT_EQ(ds->state(), TDataSetState::Browse);
    EXPECT_EQ(ds->changeCount(), 1);
    ds->append();
    ds->first();
    EXPECT_EQ(ds->recordCount(), 10);

    // delete moves to the next row; deleting an inserted row leaves no change
    ds->setRecNo(4);
    ds->deleteRecord();
    EXPECT_EQ(ds->recordCount(), 9);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 6);
    ds->append();
    ds->fieldByName(QStringLiteral("ID")).setAsInteger(77);
    name.setAsString(QStringLiteral("Временный"));
    ds->post();
    EXPECT_EQ(ds->changeCount(), 3);
    ds->deleteRecord();
    EXPECT_EQ(ds->changeCount(), 2);

    ds->setReadOnly(true);
    EXPECT_THROW(ds->edit(), EDatabaseError);
    EXPECT_THROW(ds->append(), EDatabaseError);
    EXPECT_THROW(ds->deleteRecord(), EDatabaseError);
}

TEST_F(DataSetTest, EditOnAnEmptyDataSetAppends) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR WHERE ID < 0"));
    ds->open();
    EXPECT_TRUE(ds->isEmpty());
    EXPECT_EQ(ds->recNo(), -1);
    EXPECT_TRUE(ds->fieldByName(QStringLiteral("NAME")).isNull());
    ds->edit();
    EXPECT_EQ(ds->state(), TDataSetState::Insert);
    EXPECT_THROW({ ds->cancel(); ds->deleteRecord(); }, EDatabaseError);
}

// The order row's money rules: each assignment runs its handler at once, and
// a handler's own assignments run theirs before it returns.
class OrderRules {
public:
    explicit OrderRules(TClientDataSet& ds) : m_ds(ds) {
        on("OTKLPROC", [this] { set("OTKLSUM", val("TOTAL") * fb::Decimal(i("OTKLPROC")) / fb::Decimal(100)); });
        on("OTKLSUM", [this] { totalWithDeviation(); });
        on("OTKLTYPE", [this] {
            if (sign() == 0) {
                f("OTKLPROC").setAsInteger(0);
                set("OTKLSUM", fb::Decimal());
            }
            totalWithDeviation();
        });
        on("TOTAL", [this] { totalWithDeviation(); });
        on("TOTAL_WOTKL", [this] { set("DEBT", val("TOTAL_WOTKL") - val("RECEIVED")); });
        on("RECEIVED", [this] { set("DEBT", val("TOTAL_WOTKL") - val("RECEIVED")); });
    }
    QStringList fired;

private:
    TField& f(const char* n) { return m_ds.fieldByName(QString::fromLatin1(n)); }
    fb::Decimal val(const char* n) { return f(n).asDecimal(); }
    qint64 i(const char* n) { return f(n).asLargeInt(); }
    void set(const char* n, fb::Decimal v) { f(n).setAsDecimal(v); }
    int sign() {
        const qint64 t = i("OTKLTYPE");
        return t == 1 ? -1 : (t == 2 ? 1 : 0);
    }
    void totalWithDeviation() { set("TOTAL_WOTKL", val("TOTAL") + fb::Decimal(sign()) * val("OTKLSUM")); }
    void on(const char* n, std::function<void()> fn) {
        const QString name = QString::fromLatin1(n);
        f(n).setOnChange([this, name, fn](TField&) {
            fired << name;
            fn();
        });
    }
    TClientDataSet& m_ds;
};

TEST_F(DataSetTest, ChangeHandlersChainThroughOtherFields) {
    seedOrder();
    auto ds = dataSet(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEP, NUMBER"),
                      QStringLiteral("cdsDocu"));
    ds->setKeepServerOrder(true);
    ds->query().setParam(QStringLiteral("RPERIOD_ID"), 1);
    ds->open();
    OrderRules rules(*ds);
    const auto money = [&](const char* n) { return ds->fieldByName(QString::fromLatin1(n)).asDecimal(); };

    // a new order: TOTAL, OTKLTYPE, RECEIVED, DEBT fill every required amount
    ds->append();
    for (const auto& [n, v] : std::vector<std::pair<const char*, fb::Value>>{
             {"ID", 2}, {"KINDDOC_ID", 1}, {"RPERIOD_ID", 1}, {"SERIES", QStringLiteral("АА")}, {"NUMBER", 18},
             {"DATEP", QDate(2009, 3, 6)}, {"ZAKAZCH_ID", 1}, {"PRIEMSCHIK_ID", 1}})
        ds->fieldByName(QString::fromLatin1(n)).setValue(v);
    rules.fired.clear();
    ds->fieldByName(QStringLiteral("TOTAL")).setAsDecimal(fb::Decimal());
    ds->fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(0);
    ds->fieldByName(QStringLiteral("RECEIVED")).setAsDecimal(fb::Decimal());
    ds->fieldByName(QStringLiteral("DEBT")).setAsDecimal(fb::Decimal());
    EXPECT_EQ(rules.fired.join(' '),
              QStringLiteral("TOTAL TOTAL_WOTKL OTKLTYPE OTKLPROC OTKLSUM TOTAL_WOTKL OTKLSUM TOTAL_WOTKL "
                             "TOTAL_WOTKL RECEIVED"));
    EXPECT_NO_THROW(ds->post());

    // the worked example of a discount and a markup
    ds->edit();
    ds->fieldByName(QStringLiteral("TOTAL")).setAsDecimal(dec("1000"));
    ds->fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(1);
    EXPECT_EQ(money("TOTAL_WOTKL"), dec("1000"));
    ds->fieldByName(QStringLiteral("OTKLPROC")).setAsInteger(15);
    EXPECT_EQ(money("OTKLSUM"), dec("150"));
    EXPECT_EQ(money("TOTAL_WOTKL"), dec("850"));
    EXPECT_EQ(money("DEBT"), dec("850"));
    ds->fieldByName(QStringLiteral("TOTAL")).setAsDecimal(dec("1200"));
    EXPECT_EQ(money("OTKLSUM"), dec("150"));
    EXPECT_EQ(money("TOTAL_WOTKL"), dec("1050"));
    ds->fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(2);
    EXPECT_EQ(money("TOTAL_WOTKL"), dec("1350"));
    ds->fieldByName(QStringLiteral("RECEIVED")).setAsDecimal(dec("350"));
    EXPECT_EQ(money("DEBT"), dec("1000"));
    ds->fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(0);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("OTKLPROC")).asInteger(), 0);
    EXPECT_EQ(money("TOTAL_WOTKL"), dec("1200"));
    EXPECT_EQ(money("DEBT"), dec("850"));
    // an equal value still runs the rule
    rules.fired.clear();
    ds->fieldByName(QStringLiteral("RECEIVED")).setAsDecimal(dec("350"));
    EXPECT_EQ(rules.fired, QStringList{QStringLiteral("RECEIVED")});
    ds->post();
}

TEST_F(DataSetTest, RefreshReReadsAndReturnsToTheRememberedId) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY NAME"));
    ds->open();
    ds->locate(QStringLiteral("ID"), 6);
    exec(QStringLiteral("UPDATE COLOR SET NAME = 'Аквамарин' WHERE ID = 6"));
    exec(QStringLiteral("DELETE FROM COLOR WHERE ID = 10"));
    ds->refresh();
    EXPECT_EQ(ds->recordCount(), 9);
    EXPECT_EQ(ds->recNo(), 0);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("ID")).asInteger(), 6);
    EXPECT_EQ(ds->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Аквамарин"));
}

TEST_F(DataSetTest, SignalsTellViewsWhatChanged) {
    auto ds = dataSet(QStringLiteral("SELECT * FROM COLOR ORDER BY ID"));
    int state = 0, data = 0, current = 0, row = -1, log = 0;
    QObject::connect(ds.get(), &TClientDataSet::stateChanged, [&] { ++state; });
    QObject::connect(ds.get(), &TClientDataSet::dataChanged, [&] { ++data; });
    QObject::connect(ds.get(), &TClientDataSet::currentChanged, [&] { ++current; });
    QObject::connect(ds.get(), &TClientDataSet::rowChanged, [&](int r) { row = r; });
    QObject::connect(ds.get(), &TClientDataSet::changeLogChanged, [&] { ++log; });
    ds->open();
    EXPECT_EQ(state, 1);
    EXPECT_GE(data, 1);
    current = 0;
    ds->next();
    EXPECT_EQ(current, 1);
    ds->edit();
    EXPECT_EQ(state, 2);
    ds->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Х"));
    EXPECT_EQ(row, 1);
    ds->post();
    EXPECT_EQ(state, 3);
    EXPECT_EQ(log, 1);

    // held back while disabled, one refresh afterwards
    ds->disableControls();
    current = 0;
    for (ds->first(); !ds->eof(); ds->next()) {
    }
    EXPECT_EQ(current, 0);
    ds->enableControls();
    EXPECT_EQ(current, 1);
}

}  // namespace
