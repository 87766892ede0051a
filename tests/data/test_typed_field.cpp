// What a clerk types for a field of a given type and range, read or refused
// before it reaches the field, without a window.
#include "data/ClientDataSet.h"
#include "data/TypedInput.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedField, TheFieldsTypeAndTheBindingsRangeDecideTheRefusal) {
    TClientDataSet ds(nullptr, QStringLiteral("cdsTyped"));
    ds.addField(QStringLiteral("S"), TFieldType::SmallInt);
    ds.addField(QStringLiteral("I"), TFieldType::Integer);
    ds.addField(QStringLiteral("L"), TFieldType::LargeInt);
    ds.addField(QStringLiteral("D"), TFieldType::Decimal).setScale(2);
    ds.addField(QStringLiteral("T"), TFieldType::Text, 20);
    struct Case { const char* field; const char* text; bool ranged; qint64 lo, hi; const char* refusal; };
    const Case cases[] = {
        {"S", "32767", false, 0, 0, ""},
        {"S", "32768", false, 0, 0, "Поле \"Срок\": число 32768 слишком велико (допустимо от -32768 до 32767)."},
        {"I", "-2147483649", false, 0, 0,
         "Поле \"Срок\": число -2147483649 слишком мало (допустимо от -2147483648 до 2147483647)."},
        {"L", "2147483648", false, 0, 0, ""},
        {"I", "3651", true, 0, 3650, "Поле \"Срок\": число 3651 слишком велико (допустимо от 0 до 3650)."},
        {"I", "-1", true, 0, 3650, "Поле \"Срок\": число -1 слишком мало (допустимо от 0 до 3650)."},
        {"S", "5", true, -100000, 100000, ""},  // the range never widens the type's
        {"S", "40000", true, -100000, 100000,
         "Поле \"Срок\": число 40000 слишком велико (допустимо от -32768 до 32767)."},
        {"I", "1,5", false, 0, 0, "Поле \"Срок\": \"1,5\" не является целым числом."},
        {"D", "1,5", false, 0, 0, ""},
        {"D", "abc", false, 0, 0, "Поле \"Срок\": \"abc\" не является числом."},
        {"D", "12345678901234", false, 0, 0,
         "Поле \"Срок\": число 12345678901234 слишком велико (не больше 13 цифр до запятой)."},
        {"T", "abc", true, 0, 1, ""},  // a text field takes any text here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        EXPECT_EQ(FieldTextRefusal(ds.fieldByName(QString::fromLatin1(c.field)), QStringLiteral("Срок"),
                                   QString::fromUtf8(c.text), c.ranged, c.lo, c.hi),
                  QString::fromUtf8(c.refusal));
    }
}

TEST(TypedField, ADateBoxTakesOnlyADateOtherThanItsBlankOneWithinItsLimits) {
    const QDate blank(1800, 1, 1), shown(2027, 3, 10), highest(7999, 12, 31);
    struct Case { const char* typed; QDate lowest; QDate read; };
    const Case cases[] = {
        {"15.01.2027", blank, QDate(2027, 1, 15)},
        {"15", blank, QDate(2027, 3, 15)},
        {"01.01.1800", blank, QDate()},        // the blank date would clear the field unasked
        {"31.12.1799", blank, QDate()},
        {"01.01.2020", QDate(2021, 1, 1), QDate()},
        {"31.02.2027", blank, QDate()},
        {"1.1.99999", blank, QDate()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadTypedDate(QString::fromLatin1(c.typed), shown, blank, c.lowest, highest), c.read) << c.typed;
    EXPECT_EQ(TypedDateRefusal(QStringLiteral("Дата"), QStringLiteral("32.13")),
              QStringLiteral("Поле \"Дата\": \"32.13\" не является датой.\r"
                             "Введите дату в виде ДД.ММ.ГГГГ, например 15.01.2027."));

    for (const auto& [caption, label] : {std::pair{"&Срок выполн.:", "Срок выполн."}, std::pair{" ИНН ~ ", "ИНН"},
                                         std::pair{"Сумма : :", "Сумма"}, std::pair{"", ""}})
        EXPECT_EQ(FieldLabelFromCaption(QString::fromUtf8(caption)), QString::fromUtf8(label)) << caption;
}

}  // namespace
