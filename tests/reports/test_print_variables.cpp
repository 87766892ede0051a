// The receipt's variables live in the value each print fills: two receipts
// filled into two values keep their own texts, and the callback a print hands
// the report reads the very value it was given.
#include "forms/DocVar.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintVariables, EachReceiptsCallbackReadsTheValueItWasGiven) {
    const struct {
        const char* name;
        QString TDocuVars::*member;
        const char* first;
        const char* second;
    } rows[] = {
        {"NameOrg", &TDocuVars::NameOrg, "ООО «Мастерская на Лесной»", "ИП Петров"},
        {"Dened", &TDocuVars::Dened, "руб.", "р."},
        {"Number", &TDocuVars::Number, "000042", "000007"},
        {"Zakazch_Name", &TDocuVars::Zakazch_Name, "Иванова Мария Сергеевна", "Сидоров"},
        {"g_2", &TDocuVars::g_2, "*", ""},
        {"SumPolProp", &TDocuVars::SumPolProp, "Тысяча руб. 00 коп. ", "Сто руб. 00 коп. "},
    };
    TDocuVars first, second;
    for (const auto& r : rows) {
        first.*r.member = QString::fromUtf8(r.first);
        second.*r.member = QString::fromUtf8(r.second);
    }
    const TfrReport::GetValue readFirst = frReportDocGetValue(first);
    const TfrReport::GetValue readSecond = frReportDocGetValue(second);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QVariant a, b;
        readFirst(QString::fromLatin1(r.name), a);
        readSecond(QString::fromLatin1(r.name), b);
        EXPECT_EQ(a.toString(), QString::fromUtf8(r.first));
        EXPECT_EQ(b.toString(), QString::fromUtf8(r.second));
    }
    // The second receipt filled anew: the first one's callback still reads the first value.
    second = TDocuVars();
    second.Number = QStringLiteral("000008");
    QVariant a, b;
    readFirst(QStringLiteral("Number"), a);
    readSecond(QStringLiteral("Number"), b);
    EXPECT_EQ(a.toString(), QStringLiteral("000042"));
    EXPECT_EQ(b.toString(), QStringLiteral("000008"));
}

}  // namespace
