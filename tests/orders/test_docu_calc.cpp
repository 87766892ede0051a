// The order's money rules on the journal's dataset over a real database.
#include "OrdersFixture.h"

#include "orders/core/DocuSave.h"

#include <QSignalSpy>

using namespace orderstest;

namespace {

struct Expect {
    const char* field;
    const char* value;  // nullptr: null
};

void expectFields(TClientDataSet& ds, const std::vector<Expect>& expected, const std::string& label) {
    for (const Expect& e : expected) {
        const TField& f = ds.fieldByName(QString::fromLatin1(e.field));
        if (!e.value) {
            EXPECT_TRUE(f.isNull()) << label << ": " << e.field;
        } else {
            EXPECT_EQ(f.asDecimal(), dec(e.value)) << label << ": " << e.field << " = " << f.asDecimal().toString(4).toStdString();
        }
    }
}

}  // namespace

TEST(OtklSignTest, SignTableAndRadioButtons) {
    struct Row {
        fb::Value type;
        int sign;
        const char* radio;
    };
    const std::vector<Row> rows = {
        {fb::Value(0), 0, "rbNone"}, {fb::Value(1), -1, "rbSkid"}, {fb::Value(2), 1, "rbNadb"},
        {fb::Value(3), 0, ""},       {fb::Value(-1), 0, ""},       {fb::Value(), 0, ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(OtklSign(r.type), r.sign) << r.type.toString().toStdString();
        EXPECT_EQ(ShowOtklType(r.type), QString::fromLatin1(r.radio)) << r.type.toString().toStdString();
        if (*r.radio) { EXPECT_EQ(OtklTypeOfRadio(QString::fromLatin1(r.radio)), r.type.toInt()); }
    }
    EXPECT_EQ(OtklTypeOfRadio(QStringLiteral("rbOther")), -1);
}

TEST(OtklSignTest, DeviationBoxesFollowSignAndMode) {
    struct Row {
        int sign;
        bool allowed;
        bool editable;
    };
    for (const Row& r : std::vector<Row>{{0, true, false}, {-1, true, true}, {1, true, true}, {-1, false, false},
                                         {1, false, false}, {0, false, false}}) {
        const TOtklBoxes b = SetOtklEditable(r.sign, r.allowed);
        EXPECT_EQ(b.editable, r.editable) << r.sign << " " << r.allowed;
    }
}

TEST(DocuTextTest, NumberAndSeriesNumber) {
    EXPECT_EQ(DocuNumberText(fb::Value(7)), QStringLiteral("000007"));
    EXPECT_EQ(DocuNumberText(fb::Value(1234567)), QStringLiteral("123456"));
    EXPECT_EQ(DocuNumberText(fb::Value()), QString());
    EXPECT_EQ(DocuSerNumText(fb::Value(QStringLiteral("АБ")), fb::Value(7)), QStringLiteral("АБ 000007"));
}

using DocuCalcTest = OrdersTest;

TEST_F(DocuCalcTest, WorkedExample) {
    openOrder();
    addService(2, "1000");
    CalcTotal(*docu, *umoves);
    expectFields(*docu, {{"TOTAL", "1000"}, {"TOTAL_WOTKL", "1000"}, {"DEBT", "1000"}}, "total");

    set("OTKLTYPE", 1);  // скидка
    expectFields(*docu, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "1000"}}, "discount");
    set("OTKLPROC", 15);
    expectFields(*docu, {{"OTKLSUM", "150"}, {"TOTAL_WOTKL", "850"}, {"DEBT", "850"}}, "15 %");
    set("RECEIVED", dec("100"));
    expectFields(*docu, {{"DEBT", "750"}}, "received");

    addService(1, "200");
    CalcTotal(*docu, *umoves);
    expectFields(*docu, {{"TOTAL", "1200"}, {"OTKLPROC", "15"}, {"OTKLSUM", "150"}, {"TOTAL_WOTKL", "1050"},
                         {"DEBT", "950"}}, "service added");

    set("OTKLTYPE", 2);  // надбавка
    expectFields(*docu, {{"OTKLPROC", "15"}, {"OTKLSUM", "150"}, {"TOTAL_WOTKL", "1350"}, {"DEBT", "1250"}}, "markup");
    set("OTKLTYPE", 0);  // нет
    expectFields(*docu, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "1200"}, {"DEBT", "1100"}}, "none");

    // What is stored holds the same figures.
    SaveDocu(*docu, *pmoves, *umoves, saveInput(false));
    EXPECT_EQ(scalar(QStringLiteral("SELECT TOTAL_WOTKL - TOTAL FROM DOCU WHERE ID=1")).toDecimal(), fb::Decimal());
    EXPECT_EQ(scalar(QStringLiteral("SELECT DEBT FROM DOCU WHERE ID=1")).toDecimal(), dec("1100"));
}

// Each row starts from TOTAL 1000, discount 10 % (100), received 300 and runs
// its assignments in order.
TEST_F(DocuCalcTest, ChainsFromEachField) {
    struct Assign {
        const char* field;
        fb::Value value;
    };
    struct Row {
        const char* name;
        std::vector<Assign> assigns;
        std::vector<Expect> expected;
    };
    const std::vector<Row> rows = {
        {"percent", {{"OTKLPROC", 20}}, {{"OTKLSUM", "200"}, {"TOTAL_WOTKL", "800"}, {"DEBT", "500"}}},
        {"amount keeps percent", {{"OTKLSUM", dec("50")}},
         {{"OTKLPROC", "10"}, {"OTKLSUM", "50"}, {"TOTAL_WOTKL", "950"}, {"DEBT", "650"}}},
        {"total keeps amount", {{"TOTAL", dec("2000")}},
         {{"OTKLSUM", "100"}, {"TOTAL_WOTKL", "1900"}, {"DEBT", "1600"}}},
        {"received", {{"RECEIVED", dec("900")}}, {{"TOTAL_WOTKL", "900"}, {"DEBT", "0"}}},
        {"total with deviation", {{"TOTAL_WOTKL", dec("700")}}, {{"TOTAL", "1000"}, {"DEBT", "400"}}},
        {"discount to markup", {{"OTKLTYPE", 2}},
         {{"OTKLPROC", "10"}, {"OTKLSUM", "100"}, {"TOTAL_WOTKL", "1100"}, {"DEBT", "800"}}},
        {"to none", {{"OTKLTYPE", 0}}, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "1000"}, {"DEBT", "700"}}},
        {"unknown kind", {{"OTKLTYPE", 3}}, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "1000"}, {"DEBT", "700"}}},
        {"null kind", {{"OTKLTYPE", fb::Value()}}, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "1000"}}},
        {"above 100 %", {{"OTKLPROC", 150}}, {{"OTKLSUM", "1500"}, {"TOTAL_WOTKL", "-500"}, {"DEBT", "-800"}}},
        {"negative percent", {{"OTKLPROC", -5}}, {{"OTKLSUM", "-50"}, {"TOTAL_WOTKL", "1050"}, {"DEBT", "750"}}},
        {"negative amount", {{"OTKLSUM", dec("-20.005")}},
         {{"OTKLSUM", "-20.01"}, {"TOTAL_WOTKL", "1020.01"}, {"DEBT", "720.01"}}},
        {"received above total", {{"RECEIVED", dec("1000.005")}}, {{"RECEIVED", "1000.01"}, {"DEBT", "-100.01"}}},
        {"7 % of 100.10", {{"TOTAL", dec("100.10")}, {"OTKLPROC", 7}},
         {{"OTKLSUM", "7.01"}, {"TOTAL_WOTKL", "93.09"}, {"DEBT", "-206.91"}}},
        {"half kopeck away from zero", {{"TOTAL", dec("0.50")}, {"OTKLPROC", 1}}, {{"OTKLSUM", "0.01"}}},
        {"negative half kopeck", {{"TOTAL", dec("-0.50")}, {"OTKLPROC", 1}}, {{"OTKLSUM", "-0.01"}}},
        {"discount larger than total", {{"OTKLSUM", dec("1500.25")}}, {{"TOTAL_WOTKL", "-500.25"}, {"DEBT", "-800.25"}}},
    };
    openOrder();
    for (const Row& r : rows) {
        if (docu->isEditing()) docu->cancel();
        set("TOTAL", dec("1000"));
        set("OTKLTYPE", 1);
        set("OTKLPROC", 10);
        set("RECEIVED", dec("300"));
        expectFields(*docu, {{"OTKLSUM", "100"}, {"TOTAL_WOTKL", "900"}, {"DEBT", "600"}}, std::string(r.name) + " start");
        for (const Assign& a : r.assigns) set(a.field, a.value);
        expectFields(*docu, r.expected, r.name);
    }
}

TEST_F(DocuCalcTest, NewOrderIsCompletedByTheCascade) {
    openOrder();
    docu->append();
    for (const auto& [name, value] : std::vector<std::pair<const char*, fb::Value>>{
             {"ID", 2}, {"KINDDOC_ID", 1}, {"RPERIOD_ID", 2}, {"SERIES", QStringLiteral("АБ")}, {"NUMBER", 7},
             {"DATEP", QDate(2009, 3, 6)}, {"ZAKAZCH_ID", 1}, {"PRIEMSCHIK_ID", 1}})
        docu->fieldByName(QString::fromLatin1(name)).setValue(value);
    // Nulls read as 0.
    expectFields(*docu, {{"OTKLPROC", nullptr}, {"OTKLSUM", nullptr}, {"TOTAL_WOTKL", nullptr}}, "before");
    EXPECT_EQ(docu->fieldByName(QStringLiteral("TOTAL")).displayText(), QString());
    set("TOTAL", 0);
    set("OTKLTYPE", 0);
    set("RECEIVED", 0);
    set("DEBT", 0);
    expectFields(*docu, {{"OTKLPROC", "0"}, {"OTKLSUM", "0"}, {"TOTAL_WOTKL", "0"}, {"DEBT", "0"}}, "after");
    docu->post();  // every required field is set
    EXPECT_EQ(docu->fieldByName(QStringLiteral("SERNUM")).displayText(), QStringLiteral("АБ 000007"));
    EXPECT_EQ(docu->fieldByName(QStringLiteral("NUMBER")).displayText(), QStringLiteral("000007"));
    EXPECT_EQ(docu->fieldByName(QStringLiteral("TOTAL")).displayText(), QStringLiteral("0,00"));
    ASSERT_EQ(docu->applyUpdates(), 0) << docu->lastApplyError().toStdString();
    EXPECT_EQ(count(QStringLiteral("DOCU"), QStringLiteral("ID=2 AND OTKLSUM=0 AND TOTAL_WOTKL=0")), 1);
}

TEST_F(DocuCalcTest, NullOperandsReadAsZero) {
    openOrder();
    docu->append();
    set("OTKLPROC", 10);  // TOTAL null
    expectFields(*docu, {{"OTKLSUM", "0"}, {"TOTAL_WOTKL", "0"}, {"DEBT", "0"}}, "percent");
    set("RECEIVED", dec("5"));
    expectFields(*docu, {{"DEBT", "-5"}}, "received");
    set("OTKLSUM", dec("3"));  // OTKLTYPE null: sign 0
    expectFields(*docu, {{"TOTAL_WOTKL", "0"}, {"OTKLPROC", "10"}}, "amount");
}

TEST_F(DocuCalcTest, PercentOnZeroTotalStaysZero) {
    openOrder();
    set("OTKLTYPE", 1);
    set("OTKLPROC", 10);
    addService(1, "500");
    CalcTotal(*docu, *umoves);
    expectFields(*docu, {{"OTKLPROC", "10"}, {"OTKLSUM", "0"}, {"TOTAL", "500"}, {"TOTAL_WOTKL", "500"}}, "");
}

TEST_F(DocuCalcTest, EqualValueStillRecomputesAndMarksModified) {
    openOrder();
    QSignalSpy edited(DocuRules(*docu), &TDocuRules::rowEdited);
    set("DEBT", dec("999"));
    EXPECT_EQ(edited.count(), 1);
    set("RECEIVED", dec("0"));  // same value as before
    expectFields(*docu, {{"DEBT", "0"}}, "");
    docu->post();
    set("RECEIVED", dec("0"));
    EXPECT_EQ(edited.count(), 2);
}

TEST_F(DocuCalcTest, SignNoticeRunsBeforeTotalWithDeviation) {
    openOrder();
    set("TOTAL", dec("1000"));
    set("OTKLTYPE", 1);
    set("OTKLPROC", 10);
    std::vector<std::pair<int, fb::Decimal>> seen;
    QObject::connect(DocuRules(*docu), &TDocuRules::otklSignChanged, [&](int sign) {
        seen.emplace_back(sign, amount("TOTAL_WOTKL"));
    });
    set("OTKLTYPE", 2);
    set("OTKLTYPE", 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(1, dec("900")));   // still the discounted total
    EXPECT_EQ(seen[1], std::make_pair(0, dec("1000")));  // percent and amount already zeroed
    EXPECT_EQ(amount("TOTAL_WOTKL"), dec("1000"));
}

TEST_F(DocuCalcTest, CalcTotalKeepsLinePositionAndHandlesEmptyList) {
    openOrder();
    addService(1, "100.10");
    addService(2, "200.20");
    addService(3, "0.01");
    umoves->setRecNo(1);
    CalcTotal(*docu, *umoves);
    EXPECT_EQ(umoves->recNo(), 1);
    EXPECT_EQ(docu->state(), TDataSetState::Browse);
    expectFields(*docu, {{"TOTAL", "300.31"}}, "sum");

    set("OTKLTYPE", 1);
    set("OTKLSUM", dec("10"));
    while (!umoves->isEmpty()) umoves->deleteRecord();
    CalcTotal(*docu, *umoves);
    expectFields(*docu, {{"TOTAL", "0"}, {"OTKLSUM", "10"}, {"TOTAL_WOTKL", "-10"}}, "empty");
}

TEST_F(DocuCalcTest, AttachingTwiceKeepsOneRuleSet) {
    openOrder();
    TDocuRules* first = DocuRules(*docu);
    AttachDocuRules(*docu);
    EXPECT_EQ(DocuRules(*docu), first);
    EXPECT_EQ(docu->findChildren<TDocuRules*>().size(), 1);
}
