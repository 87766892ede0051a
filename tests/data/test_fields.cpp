// Field values: conversions of typed text, display texts, money display and
// the WIN1251 limit, on a dataset over the goods table.
#include "DataFixture.h"

#include "base/RoutsFormat.h"
#include "data/FieldMoneyText.h"

using namespace datatest;

namespace {

class FieldTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 0, 'Клей', 1234.5)"));
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME) VALUES (2, 0, 'Шнурки')"));
        ds = dataSet(QStringLiteral("SELECT * FROM TOVAR ORDER BY ID"));
        ds->open();
        ds->edit();
    }
    TField& f(const char* name) { return ds->fieldByName(QString::fromLatin1(name)); }
    std::unique_ptr<TClientDataSet> ds;
};

struct TextCase {
    const char* field;
    const char* typed;
    const char* stored;  // Value::toString() of the result; "<null>" for null
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.field << " <- '" << c.typed << "'"; }

class TypedText : public FieldTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TypedText, BecomesAValueOfTheFieldsType) {
    const TextCase& c = GetParam();
    TField& field = f(c.field);
    field.setAsString(QString::fromUtf8(c.typed));
    EXPECT_EQ(field.isNull() ? QStringLiteral("<null>") : field.value().toString(), QString::fromUtf8(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, TypedText,
    ::testing::Values(TextCase{"ID", " 42 ", "42"}, TextCase{"ID", "", "<null>"},
                      TextCase{"CENA", "1 234,50", "1234.5"}, TextCase{"CENA", "1\u00A0234,5", "1234.5"},
                      // rounded to the column's two decimals as typed, half away from zero
                      TextCase{"CENA", "0.125", "0.13"}, TextCase{"CENA", "100,555", "100.56"},
                      TextCase{"CENA", "-0,005", "-0.01"}, TextCase{"CENA", "-7", "-7"},
                      TextCase{"CENA", "9 999 999 999 999,99", "9999999999999.99"},
                      TextCase{"NAME", "Набойка «Профи» №5", "Набойка «Профи» №5"},
                      // a letter typed as base + combining mark is the one WIN1251 letter
                      TextCase{"NAME", "Краи\u0306 е\u0308лки", "Край ёлки"},
                      TextCase{"EDIZM", "килограмм", "килограмм"},
                      TextCase{"ARTIKUL", "   ", "<null>"}));

struct BadCase {
    const char* field;
    const char* typed;
    const char* message;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.field << " <- '" << c.typed << "'"; }

class BadText : public FieldTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadText, IsRefusedWithARussianMessageAndTheFieldKeepsItsValue) {
    const BadCase& c = GetParam();
    TField& field = f(c.field);
    const fb::Value before = field.value();
    try {
        field.setAsString(QString::fromUtf8(c.typed));
        FAIL() << "accepted " << c.typed;
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(c.message))) << e.message().toStdString();
        EXPECT_FALSE(isDatabaseError(e));
    }
    EXPECT_TRUE(field.value() == before);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, BadText,
    ::testing::Values(BadCase{"ID", "abc", "'abc' не является целым числом"},
                      BadCase{"ID", "99999999999", "Значение 99999999999 вне допустимого диапазона"},
                      BadCase{"ID", "123456789012345678901", "Число 123456789012345678901 слишком велико"},
                      BadCase{"CENA", "12,3,4", "'12,3,4' не является числом"},
                      BadCase{"CENA", "10000000000000", "Число 10000000000000.00 слишком велико"},
                      BadCase{"CENA", "461168601842738000000", "Число 461168601842738000000 слишком велико"},
                      BadCase{"EDIZM", "килограммов", "Текст поля 'EDIZM' слишком длинный: 11 симв."},
                      BadCase{"NAME", "Клей ✓", "Символ «✓»"},
                      BadCase{"NAME", "Клей \U0001F600", "Символ «\U0001F600» (U+1F600)"}));

TEST_F(FieldTest, DisplayTextsFollowTheLocaleAndTheHandler) {
    EXPECT_EQ(f("CENA").asString(), QStringLiteral("1234,5"));
    f("CENA").setOnGetText([](const TField& field) { return FieldMoneyText(field, QString()); });
    EXPECT_EQ(f("CENA").displayText(), FormatMoney(dec("1234.5")));
    EXPECT_EQ(f("CENA").displayText(), QStringLiteral("1\u00A0234,50"));
    ds->cancel();
    ds->next();
    EXPECT_TRUE(f("CENA").isNull());
    EXPECT_EQ(f("CENA").displayText(), QString());
    EXPECT_EQ(FieldMoneyText(f("CENA"), QStringLiteral("—")), QStringLiteral("—"));

    TField date(*ds, QStringLiteral("D"), TFieldKind::Calculated, TFieldType::Date, 0);
    EXPECT_EQ(date.textOf(fb::Value(QDate(2009, 3, 5))), QStringLiteral("05.03.2009"));
    EXPECT_EQ(date.valueFromText(QStringLiteral("05.03.2009")).toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(date.valueFromText(QStringLiteral("5.3.09")).toDate(), QDate(2009, 3, 5));
    EXPECT_THROW(date.valueFromText(QStringLiteral("31.02.2009")), EConvertError);
}

TEST_F(FieldTest, BooleansReadTheFirstLetter) {
    TField flag(*ds, QStringLiteral("F"), TFieldKind::Calculated, TFieldType::Text, 1);
    EXPECT_TRUE(flag.convert(fb::Value(QStringLiteral("T"))).toString() == QStringLiteral("T"));
    ds->cancel();
    auto pr = dataSet(QStringLiteral("SELECT * FROM PRIEMSCHIK"));
    pr->open();
    pr->edit();
    TField& view = pr->fieldByName(QStringLiteral("ZAK_VIEW"));
    for (const auto& [text, expected] : std::vector<std::pair<QString, bool>>{
             {QStringLiteral("T"), true}, {QStringLiteral("y"), true}, {QStringLiteral("F"), false},
             {QStringLiteral("N"), false}}) {
        view.setAsString(text);
        EXPECT_EQ(view.asBoolean(), expected) << text.toStdString();
    }
    view.setAsBoolean(true);
    EXPECT_EQ(view.asString(), QStringLiteral("T"));
}

}  // namespace
