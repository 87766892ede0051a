// The order editor's header without a window, on order 1 of the open period
// (2009-03-01 - 2009-03-31, accepted 2009-03-05, customer 1) over a real
// database: the checks before a save, the names beside the keys, closing
// without saving, the line commands and the total, the deviation type and the
// customer's orders by year.
#include "OrdersFixture.h"

#include "orders/core/CustomerOrders.h"
#include "orders/core/DocuDates.h"
#include "orders/core/DocuHeader.h"
#include "orders/core/DocuLines.h"

using namespace orderstest;

namespace {
const QDate kFirst(2009, 3, 1), kLast(2009, 3, 31);

class DocuHeaderTest : public OrdersTest {
protected:
    // Another order of customer 1 in the open period, as stored.
    void insertOrder(int id, const char* dateP, const char* total) {
        exec(QStringLiteral("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, "
                            "PRIEMSCHIK_ID, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT) "
                            "VALUES (?, 1, 2, 'АА', ?, ?, 1, 1, ?, 0, 0, 0, 0, 0, 0)"),
             {id, 100 + id, QDate::fromString(QString::fromLatin1(dateP), Qt::ISODate), dec(total)});
    }
};
}  // namespace

TEST(DocuDatesRule, AcceptanceDateInsideThePeriodOnly) {
    const QDate first(2026, 12, 1), last(2026, 12, 31);
    EXPECT_TRUE(AcceptanceDateRefusal(first, first, last).isEmpty());
    EXPECT_TRUE(AcceptanceDateRefusal(last, first, last).isEmpty());
    EXPECT_EQ(AcceptanceDateRefusal(QDate(2027, 1, 10), first, last),
              QStringLiteral("Дата приема 10.01.2027 вне рабочего периода документа (01.12.2026 - 31.12.2026).\r"
                             "Укажите дату приема внутри периода."));
    EXPECT_FALSE(AcceptanceDateRefusal(QDate(2026, 11, 30), first, last).isEmpty());
    EXPECT_FALSE(AcceptanceDateRefusal(QDate(), first, last).isEmpty());
    EXPECT_FALSE(CompletionBeforeAcceptance(first, first));
    EXPECT_FALSE(CompletionBeforeAcceptance(first, QDate()));
    EXPECT_TRUE(CompletionBeforeAcceptance(first.addDays(1), first));
}

TEST_F(DocuHeaderTest, TheDatesAreCheckedWhileEditingAndInTheCurrentPeriodOnly) {
    openOrder();
    struct Row {
        bool editAllowed;
        fb::Value period;  // the order's RPERIOD_ID
        QDate dateP, dateV;
        bool refused, asked;
    };
    const QDate inside(2009, 3, 10), outside(2009, 4, 2);
    const std::vector<Row> rows = {
        {true, fb::Value(2), inside, inside, false, false},
        {true, fb::Value(2), outside, QDate(), true, false},
        {true, fb::Value(), outside, QDate(), true, false},  // a new order not yet in a period
        {true, fb::Value(2), QDate(), QDate(), true, false},
        {true, fb::Value(1), outside, QDate(), false, false},  // an order of another period keeps its date
        {true, fb::Value(2), inside, inside.addDays(-1), false, true},
        {true, fb::Value(2), outside, inside.addDays(-1), true, false},  // refused before anything is asked
        {true, fb::Value(1), outside, outside.addDays(-1), false, true},
        {false, fb::Value(2), outside, outside.addDays(-1), false, false},  // viewed: nothing is checked
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        set("RPERIOD_ID", r.period);
        set("DATEP", r.dateP.isValid() ? fb::Value(r.dateP) : fb::Value());
        set("DATEV", r.dateV.isValid() ? fb::Value(r.dateV) : fb::Value());
        const TDocuDatesCheck check = CheckDocuDates(*docu, r.editAllowed, 2, kFirst, kLast);
        EXPECT_EQ(!check.refusal.isEmpty(), r.refused) << "row " << i;
        EXPECT_EQ(!check.question.isEmpty(), r.asked) << "row " << i;
        if (r.refused) { EXPECT_EQ(check.refusal, AcceptanceDateRefusal(r.dateP, kFirst, kLast)) << "row " << i; }
        if (r.asked) { EXPECT_EQ(check.question, CompletionBeforeAcceptanceQuestion(r.dateP, r.dateV)) << "row " << i; }
    }
}

TEST_F(DocuHeaderTest, AnOrderNeedsItsCustomerAndShowsTheNamesOfItsKeys) {
    openOrder();
    const QString refusal = QStringLiteral("Не заполнено обязательное поле Заказчик.\rЗаполните указанное поле.");
    EXPECT_TRUE(DocuCustomerRefusal(docu.get()).isEmpty());
    EXPECT_EQ(DocuCustomerRefusal(nullptr), refusal);
    set("ZAKAZCH_ID", fb::Value());
    EXPECT_EQ(DocuCustomerRefusal(docu.get()), refusal);
    set("ZAKAZCH_ID", fb::Value(1));

    // The journal's own name field wins; else the list is looked up; without a list or a match nothing.
    auto kinds = dataSet(QStringLiteral("SELECT ID, NAME FROM KINDDOC"), QStringLiteral("kinds"));
    kinds->open();
    const auto shown = [&](const char* nameField, const TClientDataSet* list) {
        return DocuShownName(*docu, QString::fromLatin1(nameField), QStringLiteral("KINDDOC_ID"), list,
                             QStringLiteral("ID"), QStringLiteral("NAME"));
    };
    EXPECT_EQ(shown("KINDDOC_NAME", kinds.get()), QStringLiteral("Ремонт обуви"));
    EXPECT_EQ(shown("SERIES", kinds.get()), QStringLiteral("АА"));
    EXPECT_EQ(shown("KINDDOC_NAME", nullptr), QString());
    set("KINDDOC_ID", fb::Value(77));
    EXPECT_EQ(shown("KINDDOC_NAME", kinds.get()), QString());
}

TEST_F(DocuHeaderTest, ClosingWithoutSavingUndoesTheChangesOrDeletesTheNewRow) {
    openOrder();
    set("RECEIVED", fb::Value(dec("5")));
    EXPECT_TRUE(DiscardDocuChanges(*docu, 1, false).isEmpty());
    EXPECT_FALSE(docu->isEditing());
    EXPECT_EQ(amount("RECEIVED"), dec("0"));
    const qint64 orders = count(QStringLiteral("DOCU"));

    // A new order the journal stored before the editor opened: gone from the journal and the database.
    insertOrder(5, "2009-03-06", "0");
    docu->refresh();
    ASSERT_TRUE(docu->locate(QStringLiteral("ID"), 5));
    set("NUMBER", fb::Value(19));
    EXPECT_TRUE(DiscardDocuChanges(*docu, 5, true).isEmpty());
    EXPECT_FALSE(docu->locate(QStringLiteral("ID"), 5));
    EXPECT_EQ(count(QStringLiteral("DOCU"), QStringLiteral("ID=5")), 0);
    EXPECT_EQ(count(QStringLiteral("DOCU")), orders);
}

TEST_F(DocuHeaderTest, TheTotalFollowsTheLinesDialogsAndRemovalsAndMovingNeedsTwoLines) {
    openOrder();
    // A cancelled dialog leaves no line and no change; an accepted one brings the total.
    AppendDocuLine(*umoves, TDocuLineKind::Service, {950, 1, 950});
    EXPECT_FALSE(FinishDocuLine(*docu, *umoves, *umoves, false));
    EXPECT_EQ(umoves->recordCount(), 0);
    addService(3, "250.5");
    EXPECT_TRUE(FinishDocuLine(*docu, *umoves, *umoves, true));
    EXPECT_EQ(amount("TOTAL"), dec("250.50"));
    ASSERT_TRUE(DeleteDocuLine(*docu, *umoves, *umoves));
    addService(1, "150");
    EXPECT_FALSE(MoveDocuLine(*umoves, -1));  // one line: the order does not change
    addService(2, "400");
    CalcTotal(*docu, *umoves);
    EXPECT_EQ(amount("TOTAL"), dec("550"));
    umoves->first();
    const int firstId = umoves->fieldByName(QStringLiteral("ID")).asInteger();
    EXPECT_TRUE(MoveDocuLine(*umoves, +1));
    umoves->first();
    EXPECT_NE(umoves->fieldByName(QStringLiteral("ID")).asInteger(), firstId);
    EXPECT_TRUE(MoveDocuLine(*umoves, -1));  // at the top already: still counts as a change
    EXPECT_TRUE(DeleteDocuLine(*docu, *umoves, *umoves));
    EXPECT_EQ(umoves->recordCount(), 1);
    EXPECT_EQ(amount("TOTAL"), dec("150"));
    EXPECT_TRUE(DeleteDocuLine(*docu, *umoves, *umoves));
    EXPECT_EQ(amount("TOTAL"), dec("0"));
    EXPECT_FALSE(DeleteDocuLine(*docu, *umoves, *umoves));
}

TEST_F(DocuHeaderTest, ChoosingTheDeviationTypeTheOrderHasChangesNothing) {
    openOrder();
    set("TOTAL", fb::Value(dec("200")));
    set("OTKLPROC", fb::Value(dec("10")));
    docu->post();
    EXPECT_FALSE(ChooseOtklType(*docu, 0));
    EXPECT_FALSE(docu->isEditing());
    EXPECT_TRUE(ChooseOtklType(*docu, 1));  // a discount: the cascade follows
    EXPECT_EQ(amount("TOTAL_WOTKL"), dec("180"));
    docu->post();
    EXPECT_FALSE(ChooseOtklType(*docu, 1));
    EXPECT_TRUE(ChooseOtklType(*docu, 2));
    EXPECT_EQ(amount("TOTAL_WOTKL"), dec("220"));
}

TEST_F(DocuHeaderTest, ACustomersOrdersAreSummedByYear) {
    for (int id : {1, 2})
        exec(QStringLiteral("INSERT INTO PMOVES (ID, DOC_ID, NUM, PRODUCT_ID, NPP) VALUES (?, 1, ?, 1, ?)"),
             {id, id, id});
    insertOrder(6, "2010-01-05", "100.50");
    insertOrder(7, "2010-02-05", "0.25");
    auto years = dataSet(QString(), QStringLiteral("cdsZak"));
    DefineCustomerOrders(*years);
    OpenCustomerOrders(*years, 1);
    ASSERT_EQ(years->recordCount(), 2);
    const auto row = [&](int r) {
        QStringList out;
        for (const char* f : {"YEARP", "DOCU_CNT", "IZD_CNT", "TOTAL"})
            out << years->displayTextAt(r, years->fieldByName(QString::fromLatin1(f)).index());
        return out.join(QLatin1Char('|'));
    };
    EXPECT_EQ(row(0), QStringLiteral("2009|1|2|0,00"));
    EXPECT_EQ(row(1), QStringLiteral("2010|2|0|100,75"));
    OpenCustomerOrders(*years, 99);
    EXPECT_EQ(years->recordCount(), 0);
}
